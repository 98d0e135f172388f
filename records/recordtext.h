#pragma once

#include <QLocale>
#include <QString>

constexpr int NameWidth = 20;

// Every name is exactly 20 characters (Unicode code points): cut or padded with spaces.
QString fixedWidth(const QString &text);
// Line breaks, control and format characters (of every plane) become spaces, so a name stays on its line.
QString printableName(const QString &text);
// Empty, or nothing but spaces of any kind and characters that print as none.
bool isBlankName(const QString &name);

// A score as the store keeps it: at most 7 significant digits in the user's locale.
QString storedScoreText(float score, const QLocale &locale = QLocale());
// Reads a stored score written under any locale, native digits included; only
// a finite number from 0 to 100, which is what a game can score.
bool parseStoredScore(const QString &text, float *score, const QLocale &locale = QLocale());
