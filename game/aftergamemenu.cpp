#include "aftergamemenu.h"

#include "boardspeech.h"
#include "gamestate.h"
#include "routeoverlay.h"
#include "tour.h"
#include "tourloss.h"

#include <QMenu>
#include <QThread>

#include <memory>

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
         shown != RouteOverlay::LostTour && !m_search && route.size() < SquareCount,
         [this, route] { showWhereLost(route); });
    item(QStringLiteral("Скрыть"), shown != RouteOverlay::Nothing || m_search != nullptr, &AfterGameMenu::hideShowing);
    menu->popup(m_board->mapToGlobal(position));
}

void AfterGameMenu::hideShowing()
{
    stopSearch();
    m_overlay->hide();
}

void AfterGameMenu::showWhereLost(const QList<QPoint> &route)
{
    hideShowing();
    const int search = ++m_searches;
    m_stop = false;
    // The answer is kept by the search and read only once it has ended.
    const auto loss = std::make_shared<TourLoss>();
    m_search = QThread::create([=] { *loss = whereTourWasLost(route, [this] { return m_stop.load(); }); });
    m_search->setParent(this);
    connect(m_search, &QThread::finished, m_search, &QObject::deleteLater);
    connect(m_search, &QThread::finished, this, [=] {
        if (search != m_searches)
            return;
        m_hint.stop();
        m_search = nullptr;
        m_overlay->show(RouteOverlay::LostTour, loss->tour, loss->keptMoves, BoardSpeech::verdict(*loss, route));
    });
    m_search->start();
    m_hint.start();
}

// Asked to stop, the search ends within a few thousand steps: waiting for it costs nothing a player notices.
void AfterGameMenu::stopSearch()
{
    m_hint.stop();
    if (!m_search)
        return;
    ++m_searches;
    m_stop = true;
    m_search->wait();
    m_search = nullptr;
}
