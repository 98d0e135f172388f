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

    void ShowInfo();

    // Move methods; each reads the current cell from CellX, CellY.
    bool Proverka();
    void Proverka2(QRgb Col, bool Clear);
    bool Sortir();

    void PaintEmptyBoard();
    void FillCell(qint16 column, qint16 row, QRgb colour);
    void GameOver();

private:
    void chooseCell(bool automatic, float x, float y);

    GameView &m_view;
    GameState m_state;
};
