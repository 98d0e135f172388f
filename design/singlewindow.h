#pragma once

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

// The information window and the password dialog exist at most once: a first
// call creates the window centred on the screen, a later one brings it to the
// front where the player left it. The window has no owner, so whoever keeps
// the pointer destroys it.
template <typename Window, typename Create>
Window *showSingleWindow(QPointer<Window> &window, Create create)
{
    if (!window) {
        window = create();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        window->move(screen.center() - window->rect().center());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
