#include "aftergamemenu.h"

#include "boardspeech.h"
#include "gamestate.h"
#include "routeoverlay.h"
#include "tour.h"

#include <QMenu>
#include <QPromise>
#include <QtConcurrent>

namespace {
constexpr int BlinkMs = 150;
}

AfterGameMenu::AfterGameMenu(QWidget *board, RouteOverlay *overlay)
    : QObject(board)
    , m_board(board)
    , m_overlay(overlay)
{
    m_hint.setSingleShot(true);
    m_hint.setInterval(BlinkMs);
    connect(&m_hint, &QTimer::timeout, this,
            [this] { m_overlay->show(RouteOverlay::Searching, {}, 0, BoardSpeech::searching()); });
}

AfterGameMenu::~AfterGameMenu()
{
    stopSearch();
}

void AfterGameMenu::open(QPoint position, const QList<QPoint> &route)
{
    if (route.isEmpty())
        return;
    auto *menu = new QMenu(m_board);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setAccessibleName(QStringLiteral("Показ"));
    const RouteOverlay::Kind shown = m_overlay->kind();
    const auto item = [&](const QString &text, bool enabled, auto action) {
        menu->addAction(text, this, action)->setEnabled(enabled);
    };
    item(QStringLiteral("Показать мой путь"), shown != RouteOverlay::PlayersRoute, [this, route] {
        stopSearch();
        m_overlay->show(RouteOverlay::PlayersRoute, route);
    });
    item(QStringLiteral("Показать полный обход"), shown != RouteOverlay::WholeTour, [this, route] {
        stopSearch();
        m_overlay->show(RouteOverlay::WholeTour, openTour(route.first()));
    });
    // a game of all 64 squares lost nothing
    item(QStringLiteral("Где потерян обход"),
         shown != RouteOverlay::LostTour && !m_search.isRunning() && route.size() < SquareCount,
         [this, route] { showWhereLost(route); });
    item(QStringLiteral("Скрыть"), shown != RouteOverlay::Nothing || m_search.isRunning(), &AfterGameMenu::hideShowing);
    menu->popup(m_board->mapToGlobal(position));
}

void AfterGameMenu::hideShowing()
{
    stopSearch();
    m_overlay->hide();
}

void AfterGameMenu::showWhereLost(const QList<QPoint> &route)
{
    stopSearch();
    m_overlay->hide();
    m_search.disconnect(this);
    connect(&m_search, &QFutureWatcher<TourLoss>::finished, this, [this, route] {
        m_hint.stop();
        if (m_search.isCanceled() || m_search.future().resultCount() == 0)
            return;
        const TourLoss loss = m_search.result();
        m_overlay->show(RouteOverlay::LostTour, loss.tour, loss.keptMoves, BoardSpeech::verdict(loss, route));
    });
    m_search.setFuture(QtConcurrent::run([route](QPromise<TourLoss> &promise) {
        const TourLoss loss = whereTourWasLost(route, [&promise] { return promise.isCanceled(); });
        if (!promise.isCanceled())
            promise.addResult(loss);
    }));
    m_hint.start();
}

// Asked to stop, the search ends within a few thousand steps: waiting for it costs nothing a player notices.
void AfterGameMenu::stopSearch()
{
    m_hint.stop();
    if (!m_search.isRunning())
        return;
    m_search.disconnect(this);
    m_search.cancel();
    m_search.waitForFinished();
}
