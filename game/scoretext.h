#pragma once

#include <QLocale>
#include <QString>

// A percentage by the pattern "#.0" followed by "%": no leading zero, one
// decimal rounded half away from zero, the locale's decimal separator.
QString scoreText(float percent, const QLocale &locale = QLocale());
