#pragma once

#include <QFrame>
#include <QImage>

#include <map>
#include <utility>

// The board picture: a sunken frame around a picture that is kept in a
// backing image, so it survives being covered. Positions are in twips.
// While a game is shown, a keyboard cursor can be moved over the squares and
// press them; it is drawn over the picture, never into it, and a screen
// reader hears its square and the last move.
class BoardView : public QFrame
{
    Q_OBJECT

public:
    explicit BoardView(QWidget *parent = nullptr);

    float innerWidth() const;
    void fillBox(float x1, float y1, float x2, float y2, QRgb colour);
    void erase();
    const QImage &picture();

    QPoint cursor() const { return m_cursor; } // (-1, -1) while hidden
    void hideCursor();
    // What a screen reader hears of the game, e.g. the move number and the fill percentage.
    void setGameText(const QString &text);

signals:
    void pressed(qint16 button, qint16 shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor background() const;
    void applyFills();
    void rebuildPicture();
    QRect squareRect(QPoint square) const;
    QRgb squareColour(QPoint square);
    QPoint cursorHome();
    void moveCursor(QPoint square);
    void updateAccessibleName();

    QImage m_picture; // in device pixels; none while the picture is blank
    qreal m_ratio = 1; // the device pixel ratio of the picture and of the fills waiting for it
    // Every square as last filled, in twips, to paint the picture again at another scale.
    std::map<std::pair<float, float>, std::pair<QRectF, QRgb>> m_squares;
    // Fills wait until the press that asked for them has been handled: a square
    // painted several times in one press is painted once, and not at all when
    // it ends as it was (the target marks of a refused press).
    std::map<std::pair<int, int>, std::pair<QRect, QRgb>> m_pendingFills;
    QPoint m_cursor { -1, -1 };
    QString m_gameText;
};
