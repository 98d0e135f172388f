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

void RouteOverlay::show(Kind kind, const QList<QPoint> &route, int keptMoves, const QString &line)
{
    m_kind = route.isEmpty() && kind != Searching ? Nothing : kind;
    m_route = route;
    m_kept = keptMoves;
    m_line = line;
    // a tour is laid out from its first square, a continuation from the player's last
    m_shown = kind == WholeTour ? 1 : kind == LostTour ? keptMoves : int(route.size());
    if (m_shown < route.size())
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
    m_line.clear();
    m_shown = 0;
    emit changed();
}

int RouteOverlay::numberOn(QPoint square) const
{
    const int index = int(m_route.indexOf(square));
    return index >= 0 && index < m_shown ? index + 1 : 0;
}

// White figures with a black outline read on every colour of square, at any scale.
void RouteOverlay::paint(QPainter &painter, const std::function<QRect(QPoint)> &squareRect) const
{
    if (m_kind == Nothing)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_kind == WholeTour || m_kind == LostTour) {
        for (int i = 0; i < SquareCount; ++i) {
            const QPoint square(i % BoardSide, i / BoardSide);
            const bool light = (square.x() + square.y()) % 2;
            painter.fillRect(squareRect(square), QColor::fromRgb(light ? BoardColour::White : BoardColour::Black));
        }
    }
    QFont font = DesignFont::font(DesignFont::Arial, 10, true);
    font.setPixelSize(qMax(6, squareRect(QPoint(0, 0)).height() * 2 / 5));
    QFont continuation = font;
    continuation.setItalic(true);
    for (int i = 0; i < m_shown; ++i) {
        const QRect square = squareRect(m_route[i]);
        const bool found = m_kind == LostTour && i >= m_kept;
        QPainterPath text;
        text.addText(0, 0, found ? continuation : font, QString::number(i + 1));
        text.translate(square.center() - text.boundingRect().center());
        painter.strokePath(
            text, QPen(Qt::black, qMax(2.0, font.pixelSize() / 6.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(text, found ? QColor(0xffd040) : QColor(Qt::white));
    }
    if (!m_line.isEmpty())
        paintLine(painter,
                  QRect(squareRect(QPoint(0, BoardSide - 1)).topLeft(),
                        squareRect(QPoint(BoardSide - 1, BoardSide - 1)).bottomRight()));
    painter.restore();
}

// The line covers the bottom rank (more, if it needs more), over a dark band that lets the numbers under it
// show through.
void RouteOverlay::paintLine(QPainter &painter, QRect bottomRank) const
{
    QFont font = DesignFont::font(DesignFont::Arial, 10, true);
    font.setPixelSize(qMax(8, bottomRank.width() / 32));
    const int margin = font.pixelSize() / 2;
    const QRect text
        = QFontMetrics(font).boundingRect(bottomRank.adjusted(margin, 0, -margin, 0), Qt::TextWordWrap, m_line);
    const QRect band = bottomRank.adjusted(0, qMin(0, bottomRank.height() - text.height() - 2 * margin), 0, 0);
    painter.fillRect(band, QColor(0, 0, 0, 190));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(band.adjusted(margin, margin, -margin, -margin), Qt::TextWordWrap | Qt::AlignCenter, m_line);
}
