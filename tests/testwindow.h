#pragma once

#include "boardview.h"
#include "frmmain.h"
#include "storefixture.h"

#include <QImage>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace detail {
// Comes first, so the store is in place, and holds what the test put in it,
// before the window reads it.
struct StoreHolder {
    explicit StoreHolder(const std::function<void(TemporaryStore &)> &prepare)
    {
        if (prepare)
            prepare(store);
    }
    TemporaryStore store;
};
}

// The real main window on a fresh temporary store, shown, with its board
// read and pressed square by square.
class TestWindow : private detail::StoreHolder, public FrmMain
{
public:
    explicit TestWindow(const std::function<void(TemporaryStore &)> &prepareStore = {})
        : StoreHolder(prepareStore)
    {
        show();
        if (!QTest::qWaitForWindowExposed(this))
            qWarning("the main window was not exposed");
    }

    void start() { QTest::mouseClick(CmdGen, Qt::LeftButton); }

    QPoint squareCentre(QPoint cell) const
    {
        const double side = Pct->contentsRect().width() / 8.0;
        return Pct->contentsRect().topLeft() + QPoint(int((cell.x() + 0.5) * side), int((cell.y() + 0.5) * side));
    }

    QImage boardImage() const { return Pct->grab().toImage(); }
    QRgb squareColour(QPoint cell) const { return boardImage().pixel(squareCentre(cell)) | 0xff000000; }

    void pressSquare(QPoint cell, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(Pct, button, Qt::NoModifier, squareCentre(cell));
    }
};
