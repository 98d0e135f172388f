#pragma once

#include "boardview.h"
#include "frmmain.h"

#include <QImage>
#include <QtTest>

// Reads and clicks the real board of a main window, square by square.
struct BoardPixels {
    explicit BoardPixels(FrmMain &window)
        : board(window.Pct)
    {
    }

    double cellPixels() const { return board->contentsRect().width() / 8.0; }

    QPoint centre(QPoint cell) const
    {
        const QPoint inner = board->contentsRect().topLeft();
        return inner + QPoint(int((cell.x() + 0.5) * cellPixels()), int((cell.y() + 0.5) * cellPixels()));
    }

    QImage grab() const { return board->grab().toImage(); }

    QRgb colour(QPoint cell) const { return grab().pixel(centre(cell)) | 0xff000000; }

    void click(QPoint cell, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(board, button, Qt::NoModifier, centre(cell));
    }

    BoardView *board;
};
