#include "mainlayout.h"

MainLayout mainLayoutForScreen(QSize screen)
{
    MainLayout layout;
    // The window covers the screen, border and caption bar included.
    layout.window = QRect(0, 0, screen.width(), screen.height());
    // The board is as large a square as the height allows.
    const int side = layout.window.height() - 1200;
    layout.picture = QRect(120, 240, side, side);
    layout.panel = QPoint(layout.picture.width() + layout.picture.left() + 240, 120);
    layout.author = QPoint(240, layout.picture.height() + layout.picture.top() + 240);
    return layout;
}
