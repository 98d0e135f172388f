#include "scoretext.h"

#include <cmath>

QString scoreText(float percent, const QLocale &locale)
{
    // Whole tenths, rounded here rather than by the formatter so that 6.25 gives 6.3.
    const long long tenths = std::llround(double(percent) * 10.0);
    const long long magnitude = tenths < 0 ? -tenths : tenths;
    const long long whole = magnitude / 10;

    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);

    QString text;
    if (tenths < 0)
        text += locale.negativeSign();
    if (whole != 0)
        text += plain.toString(whole);
    text += locale.decimalPoint();
    text += plain.toString(magnitude % 10);
    return text + QLatin1Char('%');
}
