#include "random.h"

#include <QDateTime>
#include <QRandomGenerator>

namespace {
QRandomGenerator &generator()
{
    // Unseeded until the first nickname, so a fresh run repeats its first draws.
    static QRandomGenerator instance;
    return instance;
}
}

double SharedRandom::next()
{
    return generator().generateDouble();
}

void SharedRandom::seedFromClock()
{
    generator().seed(quint32(QDateTime::currentMSecsSinceEpoch()));
}

void SharedRandom::seed(unsigned value)
{
    generator().seed(value);
}
