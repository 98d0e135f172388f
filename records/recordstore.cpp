#include "recordstore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

namespace {
const QString Organization = QStringLiteral("Tarvel");
const QString Section = QStringLiteral("Users Data");
// A live copy holds the lock for milliseconds; one that holds it longer is stuck.
constexpr int LockWaitMs = 5000;
constexpr int LockPollMs = 20;

// QSettings keeps one parsed copy of a file per path and process and re-reads
// it only when the file's size or time changes, which a coarse file clock can
// hide. So the store's bytes are always handed to QSettings under a path of
// their own, which it has never seen.
class PrivateCopy
{
public:
    explicit PrivateCopy(const QByteArray &bytes)
        : m_path(m_dir.filePath(QStringLiteral("store.conf")))
    {
        QFile file(m_path);
        // Flushed here, so a full temporary disk shows as a failure, not as a shorter table.
        m_ok = m_dir.isValid() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    }

    bool isValid() const { return m_ok; }
    const QString &path() const { return m_path; }

    std::optional<QByteArray> bytes() const
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_ok = false;
};

// A FIFO would block the open, and a device would be replaced by a file.
bool isStorable(const QFileInfo &file)
{
    return !file.exists() || file.isFile();
}

std::optional<QByteArray> readBytes()
{
    const QFileInfo info(RecordStore::filePath());
    if (!isStorable(info))
        return std::nullopt;
    if (!info.exists())
        return QByteArray();
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt; // never a part of the table taken for the whole
    return bytes;
}

RecordStore::Values sectionOf(const QString &path)
{
    QSettings settings(path, QSettings::NativeFormat);
    settings.beginGroup(Section);
    RecordStore::Values values;
    const QStringList keys = settings.childKeys();
    for (const QString &key : keys)
        values.insert(key, settings.value(key).toString());
    return values;
}

// The lock is taken over at once from a copy that died: QLockFile sees to a
// lock that names a dead owner; an empty one, left by a copy killed while
// creating it, names none, and is removed here. A live owner holds an OS lock
// on the file, so removing its lock fails.
bool takeLock(QLockFile &lock)
{
    lock.setStaleLockTime(0); // a live owner is never overruled, however long it takes
    const QDeadlineTimer deadline(LockWaitMs);
    int ownerlessSeen = 0;
    while (!lock.tryLock(LockPollMs)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        qint64 pid = 0;
        QString host, application;
        // Seen twice, so a copy caught between creating the file and writing it is left alone.
        if (lock.getLockInfo(&pid, &host, &application))
            ownerlessSeen = 0;
        else if (++ownerlessSeen >= 2)
            lock.removeStaleLockFile();
    }
    return true;
}

// Temporary files of an atomic replacement that a killed copy left behind.
void removeStaleTemporaries(const QFileInfo &store)
{
    const QDir dir = store.absoluteDir();
    const QRegularExpression temporary(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(store.fileName())));
    const QStringList names = dir.entryList({ store.fileName() + QStringLiteral(".*") }, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        if (temporary.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
    }
}

#ifdef TARVEL_TEST_HOOKS
// Lets a test hold this copy between its read and its write.
void holdForTest()
{
    const QString hold = qEnvironmentVariable("TARVEL_HOLD_AFTER_READ");
    if (hold.isEmpty())
        return;
    QFile(hold + QStringLiteral(".reached")).open(QIODevice::WriteOnly);
    const QDeadlineTimer deadline(10000);
    while (!QFile::exists(hold) && !deadline.hasExpired())
        QThread::msleep(10);
}
#else
void holdForTest() {}
#endif
}

QString RecordStore::applicationName()
{
    // A renamed executable keeps a table of its own.
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString RecordStore::filePath()
{
    // QSettings reads a file as soon as it is made for it, and the store may be
    // a FIFO; so the path comes from the organisation's own file, whose folder
    // holds the application's one.
    const QSettings organization(QSettings::NativeFormat, QSettings::UserScope, Organization);
    const QFileInfo beside(organization.fileName());
    return beside.absolutePath() + QLatin1Char('/') + Organization + QLatin1Char('/') + applicationName()
        + QStringLiteral(".conf");
}

QString RecordStore::lockPath()
{
    // QSettings takes "<file>.lock" for itself.
    const QFileInfo file(filePath());
    return file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".records.lock");
}

QString RecordStore::nameKey(int index)
{
    return QStringLiteral("User %1 ").arg(index);
}

QString RecordStore::scoreKey(int index)
{
    return QStringLiteral("Data %1 ").arg(index);
}

std::optional<RecordStore::Values> RecordStore::read()
{
    const std::optional<QByteArray> bytes = readBytes();
    if (!bytes)
        return std::nullopt;
    if (bytes->isEmpty())
        return Values();
    const PrivateCopy copy(*bytes);
    if (!copy.isValid())
        return std::nullopt;
    return sectionOf(copy.path());
}

RecordStore::Outcome RecordStore::transact(const std::function<bool(Values &)> &change)
{
    const QFileInfo store(filePath());
    QDir().mkpath(store.absolutePath());
    QLockFile lock(lockPath());
    if (!takeLock(lock))
        return Outcome::Failed;
    removeStaleTemporaries(store);

    const std::optional<QByteArray> bytes = readBytes();
    if (!bytes)
        return Outcome::Failed;
    const PrivateCopy copy(*bytes);
    if (!copy.isValid())
        return Outcome::Failed;
    holdForTest();

    const Values before = sectionOf(copy.path());
    Values section = before;
    if (!change(section))
        return Outcome::Unchanged;
    {
        QSettings settings(copy.path(), QSettings::NativeFormat);
        settings.beginGroup(Section);
        // Only what changed, so values of other kinds keep their form.
        for (auto it = section.cbegin(); it != section.cend(); ++it) {
            const auto old = before.constFind(it.key());
            if (old == before.cend() || *old != it.value())
                settings.setValue(it.key(), it.value());
        }
        settings.sync();
        // A malformed line met while reading the copy shows as FormatError; the write itself worked.
        if (settings.status() == QSettings::AccessError)
            return Outcome::Failed;
    }

    const std::optional<QByteArray> written = copy.bytes();
    QSaveFile file(store.filePath()); // follows a symlink to the file it names
    if (!written || !file.open(QIODevice::WriteOnly))
        return Outcome::Failed;
    file.write(*written);
    return file.commit() ? Outcome::Saved : Outcome::Failed;
}
