#include "game.h"

#include "colours.h"

// Lists the free squares a jump away from the current cell and paints them:
// with Col, or with their own colour when Clear is set.
void Game::Proverka2(QRgb Col, bool Clear)
{
    GameState &s = m_state;
    s.TargetCount = 0;
    for (const JumpOffset &jump : JumpOffsets) {
        const int column = s.CellX + jump.column;
        const int row = s.CellY + jump.row;
        if (!isOnBoard(column, row) || !isFree(s.Board[column][row]))
            continue;

        s.Targets[s.TargetCount][0] = float(column);
        s.Targets[s.TargetCount][1] = float(row);
        s.TargetCount += 1;

        QRgb colour = Col;
        if (Clear)
            colour = s.Board[column][row] == CellLight ? BoardColour::White : BoardColour::Black;
        FillCell(qint16(column), qint16(row), colour);
    }
}
