#include "recordtext.h"

#include <algorithm>
#include <cmath>

namespace {
bool printsAsSpace(char32_t codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return true;
    default: return false;
    }
}

// Digits of any script become ASCII ones, and the Arabic decimal separator a full stop.
QString withAsciiDigits(const QString &text)
{
    QString ascii;
    for (const uint codePoint : text.toUcs4()) {
        const int digit = QChar::digitValue(codePoint);
        if (QChar::category(codePoint) == QChar::Number_DecimalDigit && digit >= 0)
            ascii += QChar(u'0' + digit);
        else if (codePoint == 0x066B)
            ascii += QLatin1Char('.');
        else
            ascii += QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
    }
    return ascii;
}

bool parseWith(QLocale locale, const QString &text, float *score)
{
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const float value = locale.toFloat(text, &ok);
    if (!ok || !std::isfinite(value) || value < 0 || value > 100)
        return false;
    *score = value;
    return true;
}
}

QString fixedWidth(const QString &text)
{
    QList<uint> codePoints = text.toUcs4();
    if (codePoints.size() > NameWidth)
        codePoints.resize(NameWidth);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), codePoints.size())
        + QString(NameWidth - codePoints.size(), QLatin1Char(' '));
}

QString printableName(const QString &text)
{
    QList<uint> codePoints = text.toUcs4();
    for (uint &codePoint : codePoints) {
        if (printsAsSpace(codePoint))
            codePoint = u' ';
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), codePoints.size());
}

bool isBlankName(const QString &name)
{
    const QList<uint> codePoints = name.toUcs4();
    return std::all_of(codePoints.cbegin(), codePoints.cend(), [](uint codePoint) {
        return QChar::isSpace(codePoint) || QChar::category(codePoint) == QChar::Separator_Space
            || printsAsSpace(codePoint);
    });
}

QString storedScoreText(float score, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(double(score), 'g', 7);
}

bool parseStoredScore(const QString &text, float *score, const QLocale &locale)
{
    // The user's locale first, then either decimal separator with ASCII
    // digits, so a table survives a change of locale.
    const QString ascii = withAsciiDigits(text);
    return parseWith(locale, text, score) || parseWith(QLocale::c(), ascii, score)
        || parseWith(QLocale(QLocale::German), ascii, score);
}
