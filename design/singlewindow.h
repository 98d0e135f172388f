#pragma once

#include "compositor.h"
#include "framewatcher.h"

#include <QPointer>
#include <QScreen>

// Under Wayland the compositor places a window; tied to the main window, it is kept above it, on its output.
inline void keepAbove(QWidget *window, QWidget *owner)
{
    window->winId();
    window->windowHandle()->setTransientParent(owner->windowHandle());
}

// Centred on the screen, frame included once the window manager has put one around it.
inline void centreOnScreen(QWidget *window)
{
    const QPoint centre = window->screen()->availableGeometry().center();
    window->move(centre - window->rect().center());
    new FrameWatcher(window, [window, centre](QMargins frame) {
        if (!frame.isNull())
            window->move(centre - QRect(QPoint(), window->size().grownBy(frame)).center());
    });
}

// The information window and the password dialog exist at most once: a first
// call creates the window centred on the screen, frame included, a later one
// brings it to the front where the player left it. Whoever keeps the pointer
// destroys the window.
template <typename Window, typename Create>
Window *showSingleWindow(QPointer<Window> &window, QWidget *owner, Create create)
{
    if (!window) {
        window = create();
        if (compositorPlacesWindows())
            keepAbove(window, owner);
        else
            centreOnScreen(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
