#include "game.h"

#include "colours.h"

// The move is legal when the knight stands a jump away from the chosen square
// and the chosen square has not been visited; the knight's old square is retired.
bool Game::Proverka()
{
    GameState &s = m_state;
    bool result = false;
    if (s.Board[s.CellX][s.CellY] == CellVisited)
        return false;

    for (const JumpOffset &jump : JumpOffsets) {
        const int column = s.CellX + jump.column;
        const int row = s.CellY + jump.row;
        if (!isOnBoard(column, row))
            continue;
        if (s.Board[column][row] == CellKnight) {
            s.Board[column][row] = CellVisited;
            FillCell(qint16(column), qint16(row), BoardColour::Red);
            result = true;
        }
    }
    return result;
}
