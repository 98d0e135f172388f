#pragma once

#include <QtWaylandClient/private/qwaylandabstractdecoration_p.h>

// The title bar Qt draws for the game's windows on a Wayland desktop that leaves it to the program
// (weston's, say): the window's title and a close box only, as the windows have on X11. Qt's own bar
// would also offer to minimize and maximize them. The windows cannot be resized, so only the title
// moves them.
class TitleBar : public QtWaylandClient::QWaylandAbstractDecoration
{
public:
    QMargins margins(MarginsType type = Full) const override;
    // Qt offers every pointer and touch event here first; those over the window's inside go on to it.
    bool handleMouse(QtWaylandClient::QWaylandInputDevice *input, const QPointF &local, const QPointF &global,
                     Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) override;
    bool handleTouch(QtWaylandClient::QWaylandInputDevice *input, const QPointF &local, const QPointF &global,
                     QEventPoint::State state, Qt::KeyboardModifiers modifiers) override;

protected:
    void paint(QPaintDevice *device) override;

private:
    // the window's whole surface, bar and borders included, in its own coordinates
    QRect surface() const;
    QRectF closeBox() const;
    // whether a point is the window's own, where its events go
    bool inside(const QPointF &local) const;
    // the close box acts on a release over it, as a button does, if the press was there too
    bool m_closePressed = false;
};
