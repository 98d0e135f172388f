#include "recordstable.h"

#include "recordtext.h"
#include "scoretext.h"

namespace {
const QString DefaultName = QStringLiteral("Quib");
const QString TwoLineBreaks = QStringLiteral("\r\r");
const QString HallOfFameTitle = QStringLiteral("Зал славы");
const QString HallOfShameTitle = QStringLiteral("Зал позора");
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
    const QString title = HallOffset == HallOfFame ? HallOfFameTitle : HallOfShameTitle;
    m_display.showRecords(title, placesAndNamesText(), scoresText());
}

void RecordsTable::showHallOfFame()
{
    HallOffset = HallOfFame;
    LoadAndShowRecords();
}

void RecordsTable::switchHall()
{
    HallOffset = HallOffset == HallOfFame ? HallOfShame : HallOfFame;
    LoadAndShowRecords();
}

void RecordsTable::load()
{
    const std::optional<RecordStore::Values> section = RecordStore::read();
    if (section && readFrom(*section))
        return;
    // Written back under the lock, unless another copy mended the table meanwhile.
    const auto outcome = RecordStore::transact([this](RecordStore::Values &disk) {
        if (readFrom(disk))
            return false;
        useDefaultTable();
        SaveRecords(disk);
        return true;
    });
    if (outcome == RecordStore::Outcome::Failed)
        useDefaultTable();
    reportFailure(outcome);
}

bool RecordsTable::readFrom(const RecordStore::Values &section)
{
    for (int i = 0; i < RecordCount; ++i) {
        RecordNames[i] = fixedWidth(section.value(RecordStore::nameKey(i)));
        if (!parseStoredScore(section.value(RecordStore::scoreKey(i)), &RecordScores[i]))
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
}

void RecordsTable::SaveRecords(RecordStore::Values &section) const
{
    for (int i = 0; i < RecordCount; ++i) {
        section.insert(RecordStore::nameKey(i), RecordNames[i]);
        section.insert(RecordStore::scoreKey(i), storedScoreText(RecordScores[i]));
    }
}

bool RecordsTable::reportFailure(RecordStore::Outcome outcome)
{
    if (outcome != RecordStore::Outcome::Failed)
        return true;
    m_display.saveFailed();
    return false;
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

RecordsTable::Entry RecordsTable::enterRecord(const QString &name, float result)
{
    bool placed = false;
    const auto outcome = RecordStore::transact([&](RecordStore::Values &disk) {
        if (!readFrom(disk))
            useDefaultTable();
        const int place = findPlace(result);
        if (place < 0)
            return false;
        makeRoom(place);
        RecordNames[place] = fixedWidth(name);
        RecordScores[place] = result;
        SaveRecords(disk);
        placed = true;
        return true;
    });
    if (!reportFailure(outcome))
        return Entry::Failed;
    return placed ? Entry::Saved : Entry::NoPlace;
}

bool RecordsTable::clearAll()
{
    return reportFailure(RecordStore::transact([this](RecordStore::Values &disk) {
        for (int i = 0; i < RecordCount; ++i) {
            RecordNames[i] = fixedWidth(QString());
            RecordScores[i] = 0;
        }
        SaveRecords(disk);
        return true;
    }));
}

QString RecordsTable::placesAndNamesText() const
{
    QString text;
    for (int i = HallOffset; i < HallOffset + HallSize; ++i)
        text += QString::number(i + 1) + QStringLiteral(".  ") + printableName(RecordNames[i]) + TwoLineBreaks;
    return text;
}

QString RecordsTable::scoresText() const
{
    QString text;
    for (int i = HallOffset; i < HallOffset + HallSize; ++i)
        text += scoreText(RecordScores[i]) + TwoLineBreaks;
    return text;
}
