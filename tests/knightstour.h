#pragma once

#include "gamestate.h"

#include <QList>
#include <QPoint>

// A complete knight's tour by Warnsdorff's rule (always jump to the square with
// the fewest onward jumps); tries start squares until one covers the board.
inline QList<QPoint> knightsTour()
{
    for (int start = 0; start < BoardSide * BoardSide; ++start) {
        bool visited[BoardSide][BoardSide] = {};
        auto onwardJumps = [&](int column, int row) {
            int count = 0;
            for (const JumpOffset &jump : JumpOffsets) {
                const int c = column + jump.column, r = row + jump.row;
                count += isOnBoard(c, r) && !visited[c][r];
            }
            return count;
        };
        QList<QPoint> tour { QPoint(start % BoardSide, start / BoardSide) };
        visited[tour.last().x()][tour.last().y()] = true;
        while (tour.size() < BoardSide * BoardSide) {
            QPoint best(-1, -1);
            int fewest = 9;
            for (const JumpOffset &jump : JumpOffsets) {
                const int c = tour.last().x() + jump.column, r = tour.last().y() + jump.row;
                if (isOnBoard(c, r) && !visited[c][r] && onwardJumps(c, r) < fewest) {
                    fewest = onwardJumps(c, r);
                    best = QPoint(c, r);
                }
            }
            if (best.x() < 0)
                break;
            visited[best.x()][best.y()] = true;
            tour.append(best);
        }
        if (tour.size() == BoardSide * BoardSide)
            return tour;
    }
    return {};
}
