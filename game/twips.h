#pragma once

// Layout unit of the program: 1440 to the inch, 15 to a logical pixel at 96 dpi.
constexpr double TwipsPerPixel = 15.0;

constexpr int twipsToPixels(int twips)
{
    return int(twips / TwipsPerPixel + 0.5);
}
