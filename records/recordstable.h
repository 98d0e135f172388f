#pragma once

#include <QString>

constexpr int RecordCount = 20;
constexpr int HallSize = 10;
constexpr quint8 HallOfFame = 0;
constexpr quint8 HallOfShame = 10;

// Where the table is shown: the two record labels of the main window.
class RecordsDisplay
{
public:
    virtual ~RecordsDisplay() = default;
    // Lines are broken with lone carriage returns.
    virtual void showRecords(const QString &placesAndNames, const QString &scores) = 0;
    virtual void saveFailed() = 0;
};

// The twenty best results in descending order. The settings store is the
// truth: every change is written whole and read back before it is shown.
class RecordsTable
{
public:
    explicit RecordsTable(RecordsDisplay &display);

    QString RecordNames[RecordCount];
    float RecordScores[RecordCount] = {};
    quint8 HallOffset = HallOfFame;

    void LoadAndShowRecords();
    bool SaveRecords();

    // Reads the store into the table; an unreadable table becomes the default one.
    void load();
    void clearAll();

    // The index at which a result enters the table, or -1 when it beats no entry.
    int findPlace(float result) const;
    // Enters a result under the lock shared by every running copy, against
    // the table as the store holds it now. False when it no longer has a place.
    bool enterRecord(const QString &name, float result);

private:
    bool read();
    void useDefaultTable();
    void makeRoom(int place);
    QString placesAndNamesText() const;
    QString scoresText() const;

    RecordsDisplay &m_display;
};
