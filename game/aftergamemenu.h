#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QTimer>

#include <atomic>

class QThread;
class QWidget;
class RouteOverlay;

// The menu a finished game offers over the board: the player's route, a whole tour from its first square,
// where the whole tour was lost, and hiding what is shown. The search for the lost tour runs on another
// thread; the window never waits for it, and stopping it (Start, Clear, a new showing, closing) is at once.
class AfterGameMenu : public QObject
{
    Q_OBJECT

public:
    AfterGameMenu(QWidget *board, RouteOverlay *overlay);
    ~AfterGameMenu() override;

    // Opens at `position` (the board's coordinates) for the route of the finished game.
    void open(QPoint position, const QList<QPoint> &route);
    // Hides what is shown, a search included.
    void hideShowing();

private:
    void showWhereLost(const QList<QPoint> &route);
    void stopSearch();

    QWidget *m_board;
    RouteOverlay *m_overlay;
    QThread *m_search = nullptr; // while it runs
    std::atomic_bool m_stop = false; // asks the running search to stop
    int m_searches = 0; // a search's answer is shown only while it is the last one asked for
    QTimer m_hint; // the search has taken longer than a blink
};
