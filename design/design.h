#pragma once

#include <QFont>
#include <QRect>
#include <QString>

// The windows are laid out in twips: 1440 to the inch, 15 to a logical pixel at 96 dpi.
constexpr double TwipsPerPixel = 15.0;

constexpr int twipsToPixels(int twips)
{
    return int(twips / TwipsPerPixel + 0.5);
}

inline QPoint twipsPoint(QPoint twips)
{
    return QPoint(twipsToPixels(twips.x()), twipsToPixels(twips.y()));
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

inline QRect twipsRect(QRect twips)
{
    return twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

// The windows name the fonts they were designed with; start-up maps them to
// fonts that Linux has (Liberation Sans has Arial's metrics).
namespace DesignFont {
const QString Arial = QStringLiteral("Arial");
const QString MsSansSerif = QStringLiteral("MS Sans Serif");

inline QFont font(const QString &family, qreal points, bool bold = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

inline void mapToInstalledFonts()
{
    QFont::insertSubstitution(Arial, QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(MsSansSerif, QStringLiteral("DejaVu Sans"));
}
}
