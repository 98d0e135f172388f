#include "game.h"

bool Game::Sortir()
{
    return !hasFreeJump(m_state.Board, m_state.CellX, m_state.CellY);
}
