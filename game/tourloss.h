#pragma once

#include <QList>
#include <QPoint>

#include <functional>

// Where a game lost its whole tour: the longest beginning of the player's route that some open tour of all
// 64 squares still continues, and such a tour.
struct TourLoss
{
    int keptMoves = 0; // the route's first keptMoves squares begin `tour`
    bool proved = false; // no whole tour begins with the route's first keptMoves + 1 squares
    QList<QPoint> tour; // all 64 squares; empty when the search was stopped
};

// About half a second of search here; no game of the benchmark comes near it.
constexpr qint64 TourLossBudget = 1000000;

// A plain function of the route, safe to run on any thread. `stopped` is asked now and then: once it says
// yes, the search ends and returns nothing. Past `budget` steps of search, the tour found stands but what
// is not proved by then is not claimed.
TourLoss whereTourWasLost(const QList<QPoint> &route, const std::function<bool()> &stopped = {},
                          qint64 budget = TourLossBudget);
