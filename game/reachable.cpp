#include "game.h"

#include "colours.h"

void Game::Proverka2(QRgb Col, bool Clear)
{
    GameState &s = m_state;
    s.TargetCount = 0;
    forEachJump(s.CellX, s.CellY, [&](int column, int row) {
        if (!isFree(s.Board[column][row]))
            return true;
        s.Targets[s.TargetCount][0] = float(column);
        s.Targets[s.TargetCount][1] = float(row);
        s.TargetCount += 1;

        QRgb colour = Col;
        if (Clear)
            colour = s.Board[column][row] == CellLight ? BoardColour::White : BoardColour::Black;
        FillCell(qint16(column), qint16(row), colour);
        return true;
    });
}
