#pragma once

#include <QLocale>
#include <QString>

constexpr int NameWidth = 20;

// Every name is exactly 20 characters (Unicode code points): cut or padded with spaces.
QString fixedWidth(const QString &text);
bool isBlankName(const QString &name);

// A score as the store keeps it: at most 7 significant digits in the user's locale.
QString storedScoreText(float score, const QLocale &locale = QLocale());
// Reads a stored score written with either decimal separator; never a group
// separator, NaN or infinity.
bool parseStoredScore(const QString &text, float *score, const QLocale &locale = QLocale());
