#include "game.h"

bool Game::Sortir()
{
    bool stuck = true;
    forEachJump(m_state.CellX, m_state.CellY, [&](int column, int row) {
        stuck = !isFree(m_state.Board[column][row]);
        return stuck;
    });
    return stuck;
}
