#pragma once

#include <QRgb>
#include <QString>

// Mouse button codes as the press handler receives them.
enum PressButton : qint16 {
    ButtonLeft = 1,
    ButtonRight = 2,
    ButtonMiddle = 4,
};

// What the rules of the game need from the screen. Coordinates are in the
// picture's own units (twips), measured inside its border.
class GameView
{
public:
    virtual ~GameView() = default;

    virtual float pictureInnerWidth() const = 0;
    virtual void fillBox(float x1, float y1, float x2, float y2, QRgb colour) = 0;
    virtual void erasePicture() = 0;
    virtual void showMoveNumber(const QString &text) = 0;
    virtual void showScore(const QString &text) = 0;
    // The board part of the game over is done; the records take it from here.
    virtual void gameFinished() = 0;
};
