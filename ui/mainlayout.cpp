#include "mainlayout.h"

MainLayout mainLayoutForSpace(QSize space)
{
    MainLayout layout;
    // The window covers the space, border and caption bar included.
    layout.window = QRect(QPoint(0, 0), space);
    // The board is as large a square as the height allows.
    const int side = layout.window.height() - 1200;
    layout.picture = QRect(120, 240, side, side);
    layout.panel = QPoint(layout.picture.width() + layout.picture.left() + 240, 120);
    layout.author = QPoint(240, layout.picture.height() + layout.picture.top() + 240);
    return layout;
}
