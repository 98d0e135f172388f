#include "game.h"

// True when no free square is a knight's jump away from the current cell.
bool Game::Sortir()
{
    for (const JumpOffset &jump : JumpOffsets) {
        const int column = m_state.CellX + jump.column;
        const int row = m_state.CellY + jump.row;
        if (isOnBoard(column, row) && isFree(m_state.Board[column][row]))
            return false;
    }
    return true;
}
