#include "boardspeech.h"

#include "game.h"
#include "routeoverlay.h"
#include "tourloss.h"

#include <QStringList>

namespace {
QString squareState(SquareView view)
{
    switch (view) {
    case SquareView::Knight: return QStringLiteral("конь");
    case SquareView::Visited:
    case SquareView::LastSquare: return QStringLiteral("посещена");
    case SquareView::Target: return QStringLiteral("возможный ход");
    case SquareView::FreeLight:
    case SquareView::FreeDark: return QStringLiteral("свободна");
    case SquareView::NoBoard: break;
    }
    return QString();
}

QString names(const QList<QPoint> &squares)
{
    QStringList list;
    for (QPoint square : squares)
        list << BoardSpeech::chessName(square);
    return list.join(QStringLiteral(", "));
}
}

QString BoardSpeech::chessName(QPoint square)
{
    return QChar(u'a' + square.x()) + QString::number(BoardSide - square.y());
}

QString BoardSpeech::square(const Game *game, const RouteOverlay &overlay, QPoint square)
{
    const QString name = chessName(square);
    if (const int number = overlay.numberOn(square)) {
        const QString text = name + QStringLiteral(", ход %1").arg(number);
        switch (overlay.kind()) {
        case RouteOverlay::WholeTour: return text + QStringLiteral(" из %1").arg(overlay.route().size());
        case RouteOverlay::LostTour:
            return number > overlay.keptMoves() ? text + QStringLiteral(", продолжение") : text;
        default: return text;
        }
    }
    const QString state = game ? squareState(game->squareView(square.x(), square.y())) : QString();
    return state.isEmpty() ? name : name + QStringLiteral(", ") + state;
}

QString BoardSpeech::gameText(const QString &moveNumber, const QString &score)
{
    return QStringLiteral("ход %1, заполнено %2").arg(moveNumber, score);
}

QString BoardSpeech::boardName(bool gameShown, const QString &gameText)
{
    if (!gameShown)
        return QStringLiteral("Доска. Нажмите «Старт», чтобы начать игру.");
    return gameText.isEmpty() ? QStringLiteral("Доска") : QStringLiteral("Доска, ") + gameText;
}

QString BoardSpeech::showing(const RouteOverlay &overlay)
{
    const QList<QPoint> &route = overlay.route();
    switch (overlay.kind()) {
    case RouteOverlay::Nothing: break;
    case RouteOverlay::PlayersRoute: return QStringLiteral("Ваш путь: ") + names(route);
    case RouteOverlay::WholeTour: return QStringLiteral("Полный обход: ") + names(route);
    case RouteOverlay::Searching: return overlay.line();
    case RouteOverlay::LostTour:
        return overlay.line() + QStringLiteral(" Ваш путь: ") + names(route.first(overlay.keptMoves()))
            + QStringLiteral(". Продолжение: ") + names(route.mid(overlay.keptMoves())) + QLatin1Char('.');
    }
    return QString();
}

QString BoardSpeech::verdict(const TourLoss &loss, const QList<QPoint> &route)
{
    if (!loss.proved)
        return QStringLiteral("Полный обход был возможен по крайней мере до хода %1. Вот продолжение.")
            .arg(loss.keptMoves);
    return QStringLiteral("Ход %1 (%2) сделал полный обход невозможным. До него обход ещё был возможен — "
                          "вот продолжение.")
        .arg(loss.keptMoves + 1)
        .arg(chessName(route[loss.keptMoves]));
}

QString BoardSpeech::searching()
{
    return QStringLiteral("Ищу ход, после которого полный обход стал невозможен…");
}
