#pragma once

#include <QPointer>

// The information window and the password dialog exist at most once: a first
// call creates the window (a dialog without an owner, which Qt centres on the
// screen), a later one brings it to the front where the player left it.
// Whoever keeps the pointer destroys the window.
template <typename Window, typename Create>
Window *showSingleWindow(QPointer<Window> &window, Create create)
{
    if (!window)
        window = create();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
