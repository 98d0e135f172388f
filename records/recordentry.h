#pragma once

class QWidget;
class RecordsTable;
class QString;

// The records' part of a finished game: says the game is over and enters a
// result that beats an entry under a name the player gives or accepts.
void enterFinishedGame(QWidget *window, RecordsTable &records, float result);

// Asks until a name is settled: a typed one, or an accepted nickname.
QString askRecordName(QWidget *window);
