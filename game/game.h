#pragma once

#include "gamestate.h"
#include "gameview.h"

#include <QList>
#include <QPoint>

// What a square shows now, as the picture has it.
enum class SquareView {
    NoBoard, // before Start and after Clear the picture is blank
    FreeLight,
    FreeDark,
    Visited,
    Knight,
    Target, // free and a jump away from the knight: blue
    LastSquare, // the knight's square once the game is over: red
};

// The knight's tour: the game state and everything that changes it.
// The board reaches the screen only through GameView.
class Game
{
public:
    explicit Game(GameView &view);

    GameState &state() { return m_state; }
    const GameState &state() const { return m_state; }

    // What the picture shows on a square (column, row), derived from the state alone:
    // the target list may still hold an earlier game's targets, and Clear leaves codes behind.
    SquareView squareView(int column, int row) const;
    // The square the knight stands on, or its last square once the game is over; (-1, -1) when it has none.
    QPoint knightSquare() const;

    // The squares the knight stood on in the last game that ended, in order, from its end
    // (and after a Clear) until the next Start; empty otherwise.
    const QList<QPoint> &finishedRoute() const { return m_finishedRoute; }

    // The three inputs of the game: Start, Clear and a press on the board.
    void start();
    void clear();
    void press(qint16 button, float x, float y);

    // Shows the fill percentage reached by MoveNumber, and keeps it in FillPercent.
    void ShowInfo();

    // The steps of a press; each starts from the current cell CellX, CellY.
    // The jump test ("check"): true when the current cell is not visited and
    // the knight stands a jump away; it then marks the knight's square visited.
    bool Proverka();
    // The target list ("check 2"): finds the free squares a jump away from the
    // current cell, lists them in Targets and paints them Col, or their own
    // chessboard colour when Clear is set.
    void Proverka2(QRgb Col, bool Clear);
    // The end-of-game test ("sort out"): true when no free square is a jump away.
    bool Sortir();

    void PaintEmptyBoard();
    // The only drawing the rules do: one square in one solid colour.
    void FillCell(qint16 column, qint16 row, QRgb colour);
    // The board's part of a finished game; the records take it from there.
    void GameOver();

private:
    void chooseCell(bool automatic, float x, float y);

    GameView &m_view;
    GameState m_state;
    // Whether the free squares a jump from the current cell are painted blue: from the end
    // of a press until Start or Clear. The target list cannot tell, as Start leaves it behind.
    bool m_targetsMarked = false;
    QList<QPoint> m_route; // of the game being played
    QList<QPoint> m_finishedRoute;
};
