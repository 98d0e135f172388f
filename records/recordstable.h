#pragma once

#include "recordstore.h"

#include <QString>

constexpr int RecordCount = 20;
constexpr int HallSize = 10;
constexpr quint8 HallOfFame = 0;
constexpr quint8 HallOfShame = 10;

// Where the table is shown: the hall title and the two record labels of the main window.
class RecordsDisplay
{
public:
    virtual ~RecordsDisplay() = default;
    // Lines are broken with lone carriage returns.
    virtual void showRecords(const QString &hallTitle, const QString &placesAndNames, const QString &scores) = 0;
    virtual void saveFailed() = 0;
};

// The twenty best results in descending order. The settings store is the
// truth: every change is made to the table as the store holds it, written
// whole, and read back before it is shown.
class RecordsTable
{
public:
    explicit RecordsTable(RecordsDisplay &display);

    QString RecordNames[RecordCount]; // as stored, each exactly NameWidth characters
    float RecordScores[RecordCount] = {};
    quint8 HallOffset = HallOfFame; // index of the first place shown: the hall of fame or of shame

    // Reads the store (an unreadable table becomes the default one, written
    // back) and shows the current hall.
    void LoadAndShowRecords();
    // Reads the store into the table, as LoadAndShowRecords does, without showing it.
    void load();
    void showHallOfFame();
    void switchHall();

    // The index at which a result enters the table, or -1 when it beats no entry.
    int findPlace(float result) const;

    enum class Entry { Saved, NoPlace, Failed };
    // Enters a result against the table as the store holds it now, under the
    // lock shared by every running copy.
    Entry enterRecord(const QString &name, float result);
    // Blanks every entry in the store. False when that could not be saved.
    bool clearAll();

private:
    bool readFrom(const RecordStore::Values &section);
    void useDefaultTable();
    void makeRoom(int place);
    // Puts the whole table, 40 values, into the section about to be stored.
    void SaveRecords(RecordStore::Values &section) const;
    // Tells the display when a write of the store failed; true when it did not.
    bool reportFailure(RecordStore::Outcome outcome);
    QString placesAndNamesText() const;
    QString scoresText() const;

    RecordsDisplay &m_display;
};
