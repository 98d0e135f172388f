#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>

class QPainter;

// Numbers drawn over the board after a game, never into its picture: the player's own
// route (over the picture), or a whole tour (over a plain chessboard), laid out move by
// move at about 8 moves a second.
class RouteOverlay : public QObject
{
    Q_OBJECT

public:
    enum Kind { Nothing, PlayersRoute, WholeTour };

    explicit RouteOverlay(QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    bool isAnimating() const { return m_timer.isActive(); }
    void show(Kind kind, const QList<QPoint> &route);
    void completeAnimation();
    void hide();

    // The move number shown on a square, 0 for none.
    int numberOn(QPoint square) const;
    // "d4, ход 5", or "d4, ход 5 из 64" in a whole tour; empty for a square without a number.
    QString spokenNumber(QPoint square) const;
    // The route in order, for a screen reader: "Ваш путь: d4, e6, …".
    QString spokenRoute() const;

    void paint(QPainter &painter, const std::function<QRect(QPoint)> &squareRect) const;

    // Chess notation: files a-h from the left, ranks 8 to 1 from the top.
    static QString chessName(QPoint square);

signals:
    void changed();

private:
    Kind m_kind = Nothing;
    QList<QPoint> m_route;
    int m_shown = 0; // how many of the route's moves are drawn so far
    QTimer m_timer;
};
