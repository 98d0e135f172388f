#pragma once

#include <QRgb>

// The five colours of the board.
namespace BoardColour {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Purple = 0xffff00ff;
constexpr QRgb Red = 0xffff0000;
constexpr QRgb Blue = 0xff0000ff;
}
