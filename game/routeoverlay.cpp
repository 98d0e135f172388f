#include "routeoverlay.h"

#include "colours.h"
#include "design.h"
#include "gamestate.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int MoveIntervalMs = 125;
}

RouteOverlay::RouteOverlay(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(MoveIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (++m_shown >= m_route.size())
            m_timer.stop();
        emit changed();
    });
}

void RouteOverlay::show(Kind kind, const QList<QPoint> &route)
{
    m_kind = route.isEmpty() ? Nothing : kind;
    m_route = route;
    m_shown = kind == WholeTour ? 1 : int(route.size());
    if (kind == WholeTour)
        m_timer.start();
    emit changed();
}

void RouteOverlay::completeAnimation()
{
    m_timer.stop();
    m_shown = int(m_route.size());
    emit changed();
}

void RouteOverlay::hide()
{
    if (m_kind == Nothing)
        return;
    m_timer.stop();
    m_kind = Nothing;
    m_route.clear();
    m_shown = 0;
    emit changed();
}

int RouteOverlay::numberOn(QPoint square) const
{
    const int index = int(m_route.indexOf(square));
    return index >= 0 && index < m_shown ? index + 1 : 0;
}

QString RouteOverlay::spokenNumber(QPoint square) const
{
    const int number = numberOn(square);
    if (number == 0)
        return QString();
    const QString text = chessName(square) + QStringLiteral(", ход %1").arg(number);
    return m_kind == WholeTour ? text + QStringLiteral(" из %1").arg(m_route.size()) : text;
}

QString RouteOverlay::spokenRoute() const
{
    if (m_kind == Nothing)
        return QString();
    QStringList names;
    for (QPoint square : m_route)
        names << chessName(square);
    const QString title = m_kind == WholeTour ? QStringLiteral("Полный обход: ") : QStringLiteral("Ваш путь: ");
    return title + names.join(QStringLiteral(", "));
}

// White figures with a black outline read on every colour of square, at any scale.
void RouteOverlay::paint(QPainter &painter, const std::function<QRect(QPoint)> &squareRect) const
{
    if (m_kind == Nothing)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_kind == WholeTour) {
        for (int i = 0; i < SquareCount; ++i) {
            const QPoint square(i % BoardSide, i / BoardSide);
            const bool light = (square.x() + square.y()) % 2;
            painter.fillRect(squareRect(square), QColor::fromRgb(light ? BoardColour::White : BoardColour::Black));
        }
    }
    QFont font = DesignFont::font(DesignFont::Arial, 10, true);
    font.setPixelSize(qMax(6, squareRect(QPoint(0, 0)).height() * 2 / 5));
    for (int i = 0; i < m_shown; ++i) {
        const QRect square = squareRect(m_route[i]);
        QPainterPath text;
        text.addText(0, 0, font, QString::number(i + 1));
        text.translate(square.center() - text.boundingRect().center());
        painter.strokePath(
            text, QPen(Qt::black, qMax(2.0, font.pixelSize() / 6.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(text, Qt::white);
    }
    painter.restore();
}

QString RouteOverlay::chessName(QPoint square)
{
    return QChar(u'a' + square.x()) + QString::number(BoardSide - square.y());
}
