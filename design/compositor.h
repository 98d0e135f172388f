#pragma once

#include <QGuiApplication>
#include <QWindow>

// Under Wayland the compositor places every window, knows its panels and bars (which a client
// cannot see: a screen's available geometry is the whole screen there) and gives the main window
// its space. Under X11 the program places its windows itself.
inline bool compositorPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// A click on a window that an open box blocks can give that window the keyboard, where no key can
// act. Under Wayland the box asks for it back at once; the compositor decides (sway by default only
// marks the box urgent).
inline void keepKeyboardOnModalBoxes()
{
    if (!compositorPlacesWindows())
        return;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, qGuiApp, [](QWindow *focused) {
        QWindow *box = QGuiApplication::modalWindow();
        if (focused && box && focused != box && !box->isAncestorOf(focused))
            box->requestActivate();
    });
}
