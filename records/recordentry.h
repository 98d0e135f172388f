#pragma once

#include <QString>

class QWidget;
class RecordsTable;

// The records' part of a finished game: says the game is over and enters a
// result that beats an entry under a name the player gives or accepts.
void enterFinishedGame(QWidget *window, RecordsTable &records, float result);

// Asks until a name is settled: a typed one, or an accepted nickname.
// `heard` is what a screen reader says of the prompt beyond its text.
QString askRecordName(QWidget *window, const QString &heard = QString());
