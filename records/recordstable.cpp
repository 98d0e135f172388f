#include "recordstable.h"

#include "recordstore.h"
#include "recordtext.h"
#include "scoretext.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {
const QString DefaultName = QStringLiteral("Quib");
const QString TwoLineBreaks = QStringLiteral("\r\r");
constexpr int LockTimeoutMs = 10000;
}

RecordsTable::RecordsTable(RecordsDisplay &display)
    : m_display(display)
{
    for (QString &name : RecordNames)
        name = fixedWidth(QString());
}

void RecordsTable::LoadAndShowRecords()
{
    load();
    m_display.showRecords(placesAndNamesText(), scoresText());
}

void RecordsTable::load()
{
    if (!read())
        useDefaultTable();
}

bool RecordsTable::read()
{
    const RecordStore store;
    for (int i = 0; i < RecordCount; ++i) {
        RecordNames[i] = fixedWidth(store.read(RecordStore::nameKey(i)));
        if (!parseStoredScore(store.read(RecordStore::scoreKey(i)), &RecordScores[i]))
            return false;
    }
    return true;
}

void RecordsTable::useDefaultTable()
{
    for (int i = 0; i < RecordCount; ++i) {
        RecordNames[i] = fixedWidth(DefaultName);
        RecordScores[i] = float(RecordCount - i);
    }
    SaveRecords();
}

void RecordsTable::clearAll()
{
    for (int i = 0; i < RecordCount; ++i) {
        RecordNames[i] = fixedWidth(QString());
        RecordScores[i] = 0;
    }
}

bool RecordsTable::SaveRecords()
{
    RecordStore::Values values;
    for (int i = 0; i < RecordCount; ++i) {
        values.emplace_back(RecordStore::nameKey(i), RecordNames[i]);
        values.emplace_back(RecordStore::scoreKey(i), storedScoreText(RecordScores[i]));
    }
    RecordStore store;
    const bool saved = store.write(values);
    if (!saved)
        m_display.saveFailed();
    return saved;
}

int RecordsTable::findPlace(float result) const
{
    for (int i = 0; i < RecordCount; ++i) {
        if (result > RecordScores[i])
            return i;
    }
    return -1;
}

void RecordsTable::makeRoom(int place)
{
    for (int j = RecordCount - 1; j > place; --j) {
        RecordNames[j] = RecordNames[j - 1];
        RecordScores[j] = RecordScores[j - 1];
    }
}

bool RecordsTable::enterRecord(const QString &name, float result)
{
    const QString lockPath = RecordStore().lockPath();
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    QLockFile lock(lockPath);
    // Without a lock (an unwritable directory) the save below fails and says so.
    lock.tryLock(LockTimeoutMs);

    load();
    const int place = findPlace(result);
    if (place < 0)
        return false;
    makeRoom(place);
    RecordNames[place] = fixedWidth(name);
    RecordScores[place] = result;
    SaveRecords();
    return true;
}

QString RecordsTable::placesAndNamesText() const
{
    QString text;
    for (int i = HallOffset; i < HallOffset + HallSize; ++i)
        text += QString::number(i + 1) + QStringLiteral(".  ") + RecordNames[i] + TwoLineBreaks;
    return text;
}

QString RecordsTable::scoresText() const
{
    QString text;
    for (int i = HallOffset; i < HallOffset + HallSize; ++i)
        text += scoreText(RecordScores[i]) + TwoLineBreaks;
    return text;
}
