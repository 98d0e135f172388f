#pragma once

#include "gamestate.h"
#include <QAccessibleWidget>

class BoardView;

// The board as a screen reader sees it: a list of 64 squares, a8 first, row by
// row, each named with what it holds; the keyboard cursor's square has focus.
class BoardAccessible : public QAccessibleWidget
{
public:
    explicit BoardAccessible(BoardView *board);
    ~BoardAccessible() override;

    // Makes Qt use this for every board.
    static void install();
    // Gives a square a new accessible object, so that a client that already
    // has focus on it speaks it again.
    static void renewSquare(BoardView *board, int index);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    BoardView *board() const;

    mutable QAccessible::Id m_squares[SquareCount] = {};
};
