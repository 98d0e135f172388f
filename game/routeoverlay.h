#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>

class QPainter;

// Numbers drawn over the board after a game, never into its picture: the player's own
// route (over the picture), or a whole tour (over a plain chessboard), laid out move by
// move at about 8 moves a second; or where the whole tour was lost: the player's moves that
// a tour still continues, that continuation in another style, and a line that says it (the line
// alone while that is searched for).
class RouteOverlay : public QObject
{
    Q_OBJECT

public:
    enum Kind { Nothing, PlayersRoute, WholeTour, Searching, LostTour };

    explicit RouteOverlay(QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    bool isAnimating() const { return m_timer.isActive(); }
    // In a LostTour, the route's first `keptMoves` squares are the player's; `line` is drawn over the board.
    void show(Kind kind, const QList<QPoint> &route, int keptMoves = 0, const QString &line = QString());
    void completeAnimation();
    void hide();

    // The move number shown on a square, 0 for none.
    int numberOn(QPoint square) const;
    const QList<QPoint> &route() const { return m_route; }
    int keptMoves() const { return m_kept; }
    const QString &line() const { return m_line; }

    void paint(QPainter &painter, const std::function<QRect(QPoint)> &squareRect) const;

signals:
    void changed();

private:
    void paintLine(QPainter &painter, QRect bottomRank) const;

    Kind m_kind = Nothing;
    QList<QPoint> m_route;
    int m_kept = 0;
    QString m_line;
    int m_shown = 0; // how many of the route's moves are drawn so far
    QTimer m_timer;
};
