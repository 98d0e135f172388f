#include "game.h"

#include "colours.h"
#include "random.h"
#include "scoretext.h"

#include <cmath>

namespace {
// Floor of position / cell size; -1 for anything off the board.
qint16 cellIndexAt(float position, float cellSize)
{
    const double index = std::floor(double(position) / double(cellSize));
    return index >= 0 && index < BoardSide ? qint16(index) : qint16(-1);
}
}

Game::Game(GameView &view)
    : m_view(view)
{
}

void Game::start()
{
    m_state.CellSize = float(m_view.pictureInnerWidth() / double(BoardSide));
    PaintEmptyBoard();
    m_targetsMarked = false;
    m_route.clear();
    m_finishedRoute.clear();
    m_state.FirstMove = FlagTrue;
    m_state.MoveNumber = 1;
    m_view.showMoveNumber(QString::number(m_state.MoveNumber));
    ShowInfo();
}

void Game::clear()
{
    m_view.erasePicture();
    m_state.CellSize = 0;
    // The loop counters are the current cell, so Clear leaves it at (8, 8).
    for (m_state.CellX = 0; m_state.CellX < BoardSide; ++m_state.CellX) {
        for (m_state.CellY = 0; m_state.CellY < BoardSide; ++m_state.CellY)
            m_state.Board[m_state.CellX][m_state.CellY] = CellDark;
    }
    m_state.FirstMove = FlagFalse;
    m_targetsMarked = false;
}

void Game::press(qint16 button, float x, float y)
{
    GameState &s = m_state;
    if (s.CellSize == 0)
        return;

    const bool automatic = button == ButtonRight;
    Proverka2(BoardColour::Black, true);

    const qint16 keptX = s.CellX;
    const qint16 keptY = s.CellY;
    chooseCell(automatic, x, y);

    const bool onBoard = isOnBoard(s.CellX, s.CellY);
    const bool jumped = onBoard && Proverka();
    if (onBoard && (jumped || s.FirstMove != FlagFalse)) {
        FillCell(s.CellX, s.CellY, BoardColour::Purple);
        s.MoveNumber += 1;
        s.FirstMove = FlagFalse;
        s.Board[s.CellX][s.CellY] = CellKnight;
        m_route.append(QPoint(s.CellX, s.CellY));
        Proverka2(BoardColour::Blue, false);
        if (Sortir()) {
            GameOver();
            return;
        }
        m_view.showMoveNumber(QString::number(s.MoveNumber));
        ShowInfo();
    } else {
        s.CellX = keptX;
        s.CellY = keptY;
    }
    Proverka2(BoardColour::Blue, false);
    m_targetsMarked = true;
}

void Game::chooseCell(bool automatic, float x, float y)
{
    GameState &s = m_state;
    if (automatic && s.TargetCount > 0) {
        const int index = int(std::floor(SharedRandom::next() * s.TargetCount));
        s.CellX = qint16(s.Targets[index][0]);
        s.CellY = qint16(s.Targets[index][1]);
    } else {
        s.CellX = cellIndexAt(x, s.CellSize);
        s.CellY = cellIndexAt(y, s.CellSize);
    }
}

void Game::ShowInfo()
{
    m_state.FillPercent = float((m_state.MoveNumber - 1) / double(SquareCount) * 100.0);
    m_view.showScore(scoreText(m_state.FillPercent));
}

void Game::PaintEmptyBoard()
{
    GameState &s = m_state;
    s.SquareColor = BoardColour::White;
    // The loop counters are the current cell, so Start leaves it at (8, 8).
    for (s.CellY = 0; s.CellY < BoardSide; ++s.CellY) {
        for (s.CellX = 0; s.CellX < BoardSide; ++s.CellX) {
            s.SquareColor = s.SquareColor == BoardColour::White ? BoardColour::Black : BoardColour::White;
            FillCell(s.CellX, s.CellY, s.SquareColor);
            s.Board[s.CellX][s.CellY] = s.SquareColor == BoardColour::White ? CellLight : CellDark;
        }
        s.SquareColor = s.SquareColor == BoardColour::White ? BoardColour::Black : BoardColour::White;
    }
}

void Game::FillCell(qint16 column, qint16 row, QRgb colour)
{
    const float size = m_state.CellSize;
    m_view.fillBox(float(column) * size, float(row) * size, float(column + 1) * size, float(row + 1) * size, colour);
}

void Game::GameOver()
{
    FillCell(m_state.CellX, m_state.CellY, BoardColour::Red);
    ShowInfo();
    m_view.gameFinished();
    m_finishedRoute = m_route;
}
