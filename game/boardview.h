#pragma once

#include <QFrame>
#include <QImage>

#include <map>
#include <utility>

class AfterGameMenu;
class Game;
class RouteOverlay;

// The board picture: a sunken frame around a picture that is kept in a
// backing image, so it survives being covered. Positions are in twips.
// While a game is shown, a keyboard cursor can be moved over the squares and
// press them; it is drawn over the picture, never into it. A screen reader
// sees the board as 64 squares, the cursor's square focused; what a square
// holds is asked of the game, never read from the picture.
class BoardView : public QFrame
{
    Q_OBJECT

public:
    explicit BoardView(QWidget *parent = nullptr);

    void setGame(const Game *game) { m_game = game; }

    // The inner width in twips, measured by the game at Start. Its positions keep that measure
    // while the board is laid out anew at another size: fills and presses are scaled between them.
    float measureInnerWidth();
    void fillBox(float x1, float y1, float x2, float y2, QRgb colour);
    void erase();
    const QImage &picture();

    QPoint cursor() const { return m_cursor; } // (-1, -1) while hidden
    void hideCursor();
    // The move number and the fill percentage, for a screen reader.
    void setGameText(const QString &text);
    // Accessible texts are kept up to date from now on: until the window is on
    // screen, a screen reader has nothing to read.
    void startAccessibleTexts();

    // What a screen reader hears of a square (index = row * 8 + column): "d4, конь".
    QString squareName(int index) const;
    // The move just made, said once with the square the knight landed on.
    QString squareDescription(int index) const;
    // A square's rectangle in the widget's own coordinates.
    QRect squareRect(QPoint square) const;

    // After a game, the player's route, a whole tour from its first square or where the whole
    // tour was lost can be shown over the board, from a context menu; Start and Clear end a showing.
    RouteOverlay *overlay() const { return m_overlay; }
    void endShowing();

signals:
    void pressed(qint16 button, qint16 shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QColor background() const;
    double twipsPerPixel() const;
    void applyFills();
    void rebuildPicture();
    bool isShowingGame() const;
    QPoint cursorHome() const;
    void moveCursor(QPoint square, bool announce = false);
    void pressSquare(QPoint square, bool automatic);
    void openMenu(QPoint position);
    void showingChanged();
    void updateAccessibleName();

    QImage m_picture; // in device pixels; none while the picture is blank
    qreal m_ratio = 1; // the device pixel ratio of the picture and of the fills waiting for it
    // Every square as last filled, in twips, to paint the picture again at another scale.
    std::map<std::pair<float, float>, std::pair<QRectF, QRgb>> m_squares;
    // Fills wait until the press that asked for them has been handled: a square
    // painted several times in one press is painted once, and not at all when
    // it ends as it was (the target marks of a refused press).
    std::map<std::pair<int, int>, std::pair<QRect, QRgb>> m_pendingFills;
    const Game *m_game = nullptr;
    float m_measuredWidth = 0; // twips
    QPoint m_cursor { -1, -1 };
    QString m_gameText;
    QString m_announcement; // said with the cursor's square until the cursor moves on
    bool m_accessibleTexts = false;
    RouteOverlay *m_overlay;
    AfterGameMenu *m_menu;
    bool m_menuOnRightPress = false; // a showing was on offer before the right press, not opened by it
};
