#pragma once

#include <QList>
#include <QPoint>

// An open knight's tour from `start`: all 64 squares, each a knight's jump from the one
// before. Warnsdorff's rule (first the square with the fewest onward jumps), going back
// should it ever run into a dead end, so it always completes.
QList<QPoint> openTour(QPoint start);
