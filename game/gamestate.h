#pragma once

#include <QtGlobal>

// Codes of the squares on the board. A free square's code also tells its own colour.
enum CellCode : quint8 {
    CellDark = 0,
    CellVisited = 1,
    CellKnight = 2,
    CellLight = 3,
};

constexpr int BoardSide = 8;

// VB-style flags: 0 is false, -1 is true.
constexpr qint16 FlagFalse = 0;
constexpr qint16 FlagTrue = -1;

struct JumpOffset {
    qint16 column;
    qint16 row;
};

// The order matters: it is the order of the target list.
constexpr JumpOffset JumpOffsets[8] = {
    { +1, +2 }, { -1, +2 }, { +2, +1 }, { -2, +1 },
    { -2, -1 }, { +2, -1 }, { +1, -2 }, { -1, -2 },
};

inline bool isFree(quint8 code)
{
    return code == CellDark || code == CellLight;
}

inline bool isOnBoard(int column, int row)
{
    return column >= 0 && column < BoardSide && row >= 0 && row < BoardSide;
}

// The whole state of a game. All zero when the program starts.
struct GameState {
    quint8 Board[BoardSide][BoardSide] = {}; // indexed [column][row]
    qint16 CellX = 0;
    qint16 CellY = 0;
    float CellSize = 0; // 0 means that no game is running
    qint16 FirstMove = FlagFalse;
    qint32 MoveNumber = 0;
    float FillPercent = 0;
    qint16 TargetCount = 0;
    float Targets[8][2] = {}; // (column, row) pairs; only the first TargetCount are valid
    quint32 SquareColor = 0;
};
