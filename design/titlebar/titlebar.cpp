#include "titlebar.h"

#include <QPainter>
#include <QtGui/qpa/qwindowsysteminterface.h>
#include <QtWaylandClient/private/qwaylandwindow_p.h>

using QtWaylandClient::QWaylandInputDevice;

namespace {
// The sizes of Qt's own bar, so that a window takes the same space with either.
constexpr int Border = 3;
constexpr int BarHeight = 30;
constexpr int BoxSize = 20;
const QColor ActiveBarColour(0xd4, 0xdc, 0xe8);
const QColor BarColour(0xe6, 0xe6, 0xe6);
const QColor EdgeColour(0xa0, 0xa0, 0xa0);
}

QMargins TitleBar::margins(MarginsType type) const
{
    return type == ShadowsOnly ? QMargins() : QMargins(Border, BarHeight, Border, Border);
}

QRect TitleBar::surface() const
{
    return QRect(QPoint(), waylandWindow()->surfaceSize());
}

QRectF TitleBar::closeBox() const
{
    const int right = surface().width() - Border;
    return QRectF(right - BoxSize - (BarHeight - BoxSize) / 2, (BarHeight - BoxSize) / 2, BoxSize, BoxSize);
}

void TitleBar::paint(QPaintDevice *device)
{
    const QRect surface = this->surface();
    QPainter painter(device);
    const bool active = window()->isActive();
    // the window draws its inside
    painter.setClipRegion(QRegion(surface).subtracted(surface.marginsRemoved(margins())));
    painter.fillRect(surface, active ? ActiveBarColour : BarColour);
    painter.setPen(EdgeColour);
    painter.drawRect(QRectF(surface).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.drawLine(QLineF(Border, BarHeight - 0.5, surface.width() - Border, BarHeight - 0.5));
    painter.setPen(active ? Qt::black : Qt::darkGray);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QRectF titleSpace(Border + 8, 0, closeBox().left() - Border - 16, BarHeight);
    painter.drawText(titleSpace, Qt::AlignVCenter | Qt::AlignLeft,
                     painter.fontMetrics().elidedText(window()->title(), Qt::ElideRight, int(titleSpace.width())));

    // the close box: a cross
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(active ? Qt::black : Qt::darkGray, 1.5));
    const QRectF cross = closeBox().adjusted(5, 5, -5, -5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

bool TitleBar::inside(const QPointF &local) const
{
    return QRectF(surface().marginsRemoved(margins())).contains(local);
}

bool TitleBar::handleMouse(QWaylandInputDevice *input, const QPointF &local, const QPointF &, Qt::MouseButtons buttons,
                           Qt::KeyboardModifiers)
{
    if (inside(local)) {
        m_closePressed = false;
        setMouseButtons(buttons);
        return false;
    }
    if (isLeftClicked(buttons)) {
        m_closePressed = closeBox().contains(local);
        if (!m_closePressed && local.y() < BarHeight)
            startMove(input, buttons);
    } else if (isLeftReleased(buttons)) {
        if (m_closePressed && closeBox().contains(local))
            QWindowSystemInterface::handleCloseEvent(window());
        m_closePressed = false;
    }
    setMouseButtons(buttons);
    return true;
}

bool TitleBar::handleTouch(QWaylandInputDevice *input, const QPointF &local, const QPointF &, QEventPoint::State state,
                           Qt::KeyboardModifiers)
{
    if (inside(local))
        return false;
    if (state != QEventPoint::Pressed)
        return true;
    if (closeBox().contains(local))
        QWindowSystemInterface::handleCloseEvent(window());
    else if (local.y() < BarHeight)
        startMove(input, Qt::LeftButton);
    return true;
}
