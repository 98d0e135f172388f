#pragma once

#include "gamestate.h"
#include "gameview.h"

// The knight's tour: the game state and everything that changes it.
// The board reaches the screen only through GameView.
class Game
{
public:
    explicit Game(GameView &view);

    GameState &state() { return m_state; }
    const GameState &state() const { return m_state; }

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
};
