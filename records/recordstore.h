#pragma once

#include <QMap>
#include <QString>

#include <functional>
#include <optional>

// The records table as the user's settings store keeps it: section
// "Users Data" of the application named after the executable, in the file
// QSettings uses for it and in QSettings' own format.
//
// Every look at the store reads the bytes on disk; every write is one
// transaction under the lock that all running copies share.
namespace RecordStore {

// The values of the section, by key. Absent keys read as empty texts.
using Values = QMap<QString, QString>;

QString applicationName(); // taken afresh at every access
QString filePath();
QString lockPath();
QString nameKey(int index);
QString scoreKey(int index);

// The section as the file holds it now; nothing when the file exists but
// cannot be read (not a regular file, no permission). A missing file is empty.
std::optional<Values> read();

enum class Outcome { Saved, Unchanged, Failed };

// Takes the shared lock, reads the section from disk, lets `change` edit it
// and replaces the file atomically if `change` returns true. Keys and
// sections it does not touch stay as they are. Failed when the lock cannot
// be had within a few seconds, or the file cannot be read or replaced; then
// nothing was written and nothing is kept for later.
Outcome transact(const std::function<bool(Values &section)> &change);

}
