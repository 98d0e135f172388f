#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the main window and the parts it moves go, in twips, laid out from the space its frame
// has: the screen's available area under X11, what the compositor gives under Wayland.
struct MainLayout
{
    QRect picture;
    QPoint panel;
    QPoint author;
};

MainLayout mainLayoutForSpace(QSize space);
