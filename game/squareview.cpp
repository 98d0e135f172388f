#include "game.h"

namespace {
bool jumpApart(QPoint from, int column, int row)
{
    bool found = false;
    forEachJump(from.x(), from.y(), [&](int c, int r) {
        found = c == column && r == row;
        return !found;
    });
    return found;
}
}

QPoint Game::knightSquare() const
{
    for (int column = 0; column < BoardSide; ++column) {
        for (int row = 0; row < BoardSide; ++row) {
            if (m_state.Board[column][row] == CellKnight)
                return QPoint(column, row);
        }
    }
    return QPoint(-1, -1);
}

SquareView Game::squareView(int column, int row) const
{
    if (m_state.CellSize == 0)
        return SquareView::NoBoard;
    const auto &board = m_state.Board;
    switch (board[column][row]) {
    case CellVisited: return SquareView::Visited;
    case CellKnight: return hasFreeJump(board, column, row) ? SquareView::Knight : SquareView::LastSquare;
    default:
        if (m_targetsMarked && jumpApart(QPoint(m_state.CellX, m_state.CellY), column, row))
            return SquareView::Target;
        return board[column][row] == CellLight ? SquareView::FreeLight : SquareView::FreeDark;
    }
}
