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
constexpr int SquareCount = BoardSide * BoardSide;
constexpr int JumpCount = 8;

// VB-style flags: 0 is false, -1 is true.
constexpr qint16 FlagFalse = 0;
constexpr qint16 FlagTrue = -1;

struct JumpOffset
{
    qint16 column;
    qint16 row;
};

// The order matters: it is the order of the target list.
constexpr JumpOffset JumpOffsets[JumpCount] = {
    { +1, +2 }, { -1, +2 }, { +2, +1 }, { -2, +1 }, { -2, -1 }, { +2, -1 }, { +1, -2 }, { -1, -2 },
};

inline bool isFree(quint8 code)
{
    return code == CellDark || code == CellLight;
}

inline bool isOnBoard(int column, int row)
{
    return column >= 0 && column < BoardSide && row >= 0 && row < BoardSide;
}

// Calls visit(column, row) for every square of the board a knight's jump away
// from (column, row), in the order of JumpOffsets, until visit returns false.
template <typename Visit> void forEachJump(int column, int row, Visit visit)
{
    for (const JumpOffset &jump : JumpOffsets) {
        const int c = column + jump.column;
        const int r = row + jump.row;
        if (isOnBoard(c, r) && !visit(c, r))
            return;
    }
}

using BoardCodes = quint8[BoardSide][BoardSide]; // indexed [column][row]

// Whether a free square lies a knight's jump away from (column, row).
inline bool hasFreeJump(const BoardCodes &board, int column, int row)
{
    bool found = false;
    forEachJump(column, row, [&](int c, int r) { return !(found = isFree(board[c][r])); });
    return found;
}

// The whole state of a game. All zero when the program starts. CellX, CellY
// is the current cell, the one every check of the rules starts from.
struct GameState
{
    BoardCodes Board = {};
    qint16 CellX = 0;
    qint16 CellY = 0;
    float CellSize = 0; // 0 means that no game is running
    qint16 FirstMove = FlagFalse;
    qint32 MoveNumber = 0;
    float FillPercent = 0;
    qint16 TargetCount = 0;
    float Targets[JumpCount][2] = {}; // (column, row) pairs; only the first TargetCount are valid
    quint32 SquareColor = 0; // the colour just painted while Start lays out the chessboard
};
