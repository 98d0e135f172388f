#pragma once

// The one pseudo-random generator of the program. Presses draw from it;
// only the nickname choice seeds it, from the clock.
namespace SharedRandom {
double next(); // uniform in [0, 1)
void seedFromClock();
void seed(unsigned value);
}
