#include "recordtext.h"

#include <cmath>

QString fixedWidth(const QString &text)
{
    QList<uint> codePoints = text.toUcs4();
    if (codePoints.size() > NameWidth)
        codePoints.resize(NameWidth);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), codePoints.size())
        + QString(NameWidth - codePoints.size(), QLatin1Char(' '));
}

bool isBlankName(const QString &name)
{
    return name == QString(NameWidth, QLatin1Char(' '));
}

QString storedScoreText(float score, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(double(score), 'g', 7);
}

bool parseStoredScore(const QString &text, float *score, const QLocale &locale)
{
    // The user's locale first, then both decimal separators, so a table
    // survives a change of locale.
    for (QLocale candidate : { locale, QLocale::c(), QLocale(QLocale::German) }) {
        candidate.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const float value = candidate.toFloat(text, &ok);
        if (ok && std::isfinite(value)) {
            *score = value;
            return true;
        }
    }
    return false;
}
