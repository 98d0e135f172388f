#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the load step puts the main window and the parts it moves, in twips.
struct MainLayout
{
    QRect window;
    QRect picture;
    QPoint panel;
    QPoint author;
};

MainLayout mainLayoutForScreen(QSize screen);
