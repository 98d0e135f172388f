#include "game.h"

#include "colours.h"

bool Game::Proverka()
{
    GameState &s = m_state;
    if (s.Board[s.CellX][s.CellY] == CellVisited)
        return false;

    bool result = false;
    forEachJump(s.CellX, s.CellY, [&](int column, int row) {
        if (s.Board[column][row] == CellKnight) {
            s.Board[column][row] = CellVisited;
            FillCell(qint16(column), qint16(row), BoardColour::Red);
            result = true;
        }
        return true;
    });
    return result;
}
