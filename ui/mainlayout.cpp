#include "mainlayout.h"

MainLayout mainLayoutForSpace(QSize space)
{
    MainLayout layout;
    // The window covers the space, border and caption bar included; the board is as large a
    // square as its height allows.
    const int side = space.height() - 1200;
    layout.picture = QRect(120, 240, side, side);
    layout.panel = QPoint(layout.picture.width() + layout.picture.left() + 240, 120);
    layout.author = QPoint(240, layout.picture.height() + layout.picture.top() + 240);
    return layout;
}
