#include "random.h"

#include <QRandomGenerator>

#include <chrono>

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
    // Nanoseconds, so two nicknames drawn in one millisecond still differ.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    generator().seed(quint32(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

void SharedRandom::seed(unsigned value)
{
    generator().seed(value);
}
