#pragma once

#include "compositor.h"
#include "framewatcher.h"

#include <QPointer>
#include <QScreen>

// The information window and the password dialog exist at most once: a first
// call creates the window centred on the screen, frame included, a later one
// brings it to the front where the player left it. Whoever keeps the pointer
// destroys the window.
template <typename Window, typename Create>
Window *showSingleWindow(QPointer<Window> &window, QWidget *owner, Create create)
{
    if (!window && compositorPlacesWindows()) {
        // The compositor places it; tied to the main window, it is kept above it, on its output.
        window = create();
        window->winId();
        window->windowHandle()->setTransientParent(owner->windowHandle());
    } else if (!window) {
        window = create();
        Window *created = window;
        const QPoint centre = created->screen()->availableGeometry().center();
        created->move(centre - created->rect().center());
        new FrameWatcher(created, [created, centre](QMargins frame) {
            if (!frame.isNull())
                created->move(centre - QRect(QPoint(), created->size().grownBy(frame)).center());
        });
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
