#include "tour.h"

#include "gamestate.h"

#include <QVarLengthArray>

#include <algorithm>

namespace {
class TourSearch
{
public:
    QList<QPoint> from(QPoint start)
    {
        visit(start, true);
        return extend(start) ? m_path : QList<QPoint>();
    }

private:
    void visit(QPoint square, bool on)
    {
        m_visited[square.x()][square.y()] = on;
        on ? m_path.append(square) : m_path.removeLast();
    }

    int onwardJumps(QPoint square) const
    {
        int count = 0;
        forEachJump(square.x(), square.y(),
                    [&](int column, int row) { return count += !m_visited[column][row], true; });
        return count;
    }

    bool extend(QPoint from)
    {
        if (m_path.size() == SquareCount)
            return true;
        QVarLengthArray<std::pair<int, QPoint>, JumpCount> next;
        forEachJump(from.x(), from.y(), [&](int column, int row) {
            if (!m_visited[column][row])
                next.append({ onwardJumps(QPoint(column, row)), QPoint(column, row) });
            return true;
        });
        std::stable_sort(next.begin(), next.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &candidate : next) {
            visit(candidate.second, true);
            if (extend(candidate.second))
                return true;
            visit(candidate.second, false);
        }
        return false;
    }

    bool m_visited[BoardSide][BoardSide] = {};
    QList<QPoint> m_path;
};
}

QList<QPoint> openTour(QPoint start)
{
    if (!isOnBoard(start.x(), start.y()))
        return {};
    return TourSearch().from(start);
}
