// Where the whole tour was lost, for 1 000 games of random jumps to the end: the same games every run,
// from a fixed seed. Prints how many got an exact answer (the move after the one kept proved to lose the
// tour) and the time per game. Each tour found is checked as it goes.
#include "gamestate.h"
#include "tourloss.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int Games = 1000;

bool isJump(QPoint from, QPoint to)
{
    const QPoint step = to - from;
    return std::abs(step.x() * step.y()) == 2;
}

QList<QPoint> randomGame(QRandomGenerator &random)
{
    QList<QPoint> route { QPoint(random.bounded(BoardSide), random.bounded(BoardSide)) };
    for (;;) {
        QList<QPoint> next;
        forEachJump(route.last().x(), route.last().y(), [&](int column, int row) {
            if (!route.contains(QPoint(column, row)))
                next << QPoint(column, row);
            return true;
        });
        if (next.isEmpty())
            return route;
        route << next[random.bounded(int(next.size()))];
    }
}

bool isTourAfter(const QList<QPoint> &tour, const QList<QPoint> &route, int kept)
{
    for (int i = 0; i < tour.size(); ++i) {
        if ((i > 0 && !isJump(tour[i - 1], tour[i])) || tour.indexOf(tour[i]) != i)
            return false;
    }
    return tour.size() == SquareCount && tour.first(kept) == route.first(kept);
}
}

int main()
{
    QTextStream out(stdout);
    QRandomGenerator random(20261207);
    QList<double> times;
    int exact = 0, lostMoves = 0;
    for (int game = 0; game < Games; ++game) {
        const QList<QPoint> route = randomGame(random);
        QElapsedTimer timer;
        timer.start();
        const TourLoss loss = whereTourWasLost(route);
        times << timer.nsecsElapsed() / 1e6;
        if (!isTourAfter(loss.tour, route, loss.keptMoves)) {
            out << "game " << game << ": the tour found is not one\n";
            return 1;
        }
        exact += loss.proved;
        lostMoves += int(route.size()) - loss.keptMoves;
    }
    std::sort(times.begin(), times.end());
    out << "Where the tour was lost, " << Games << " games of random jumps:\n"
        << "  exact answers   " << exact << " of " << Games << "\n"
        << "  moves lost before the end (mean) " << lostMoves / double(Games) << "\n"
        << "  per game: median " << times[Games / 2] << " ms, 99th percentile " << times[Games * 99 / 100]
        << " ms, maximum " << times.last() << " ms\n";
    return 0;
}
