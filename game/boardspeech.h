#pragma once

#include <QList>
#include <QPoint>
#include <QString>

class Game;
class RouteOverlay;
struct TourLoss;

// Every text a screen reader hears of the board, built here and nowhere else.
namespace BoardSpeech {
// Chess notation: files a-h from the left, ranks 8 to 1 from the top.
QString chessName(QPoint square);
// A square: its number while a route is shown over the board ("d4, ход 5", "d4, ход 5 из 64",
// "d4, ход 20, продолжение"), else what stands on it ("d4, конь").
QString square(const Game *game, const RouteOverlay &overlay, QPoint square);
// The move number and the fill percentage, as the board's name says them.
QString gameText(const QString &moveNumber, const QString &score);
QString boardName(bool gameShown, const QString &gameText);
// What is shown over the board, in order: "Ваш путь: d4, e6, …".
QString showing(const RouteOverlay &overlay);
// Which move lost the whole tour, or as much as was proved; also drawn over the board.
QString verdict(const TourLoss &loss, const QList<QPoint> &route);
// Drawn and said while that search takes longer than a blink.
QString searching();
}
