#include "recordstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimeZone>

#include <cstdio>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef TARVEL_TEST_HOOKS
#include <csignal>
#endif

namespace {
const QString Organization = QStringLiteral("Tarvel");
const QString Section = QStringLiteral("Users Data");
// A live copy holds the lock for milliseconds; one that holds it longer is stuck.
constexpr int LockWaitMs = 5000;
constexpr int LockPollMs = 20;

// The file the store's path names, links followed, so that every path to one store shares its lock.
QFileInfo storeFile()
{
    QFileInfo file(RecordStore::filePath());
    if (file.exists())
        return QFileInfo(file.canonicalFilePath());
    for (int depth = 0; depth < 40 && file.isSymLink(); ++depth)
        file.setFile(file.symLinkTarget());
    return file;
}

// Every file a save makes beside the store starts with this, which no player's file does:
// so leftovers of a crash are known by name, and only they are removed.
QString workPrefix(const QFileInfo &store)
{
    return QLatin1Char('.') + store.fileName() + QStringLiteral(".saving-");
}

// A FIFO would block the open, and a device would be replaced by a file.
bool isStorable(const QFileInfo &file)
{
    return !file.exists() || file.isFile();
}

std::optional<QByteArray> readBytes(QFileInfo store)
{
    store.refresh(); // as it is now, under the lock
    if (!isStorable(store))
        return std::nullopt;
    if (!store.exists())
        return QByteArray();
    QFile file(store.filePath());
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

// QSettings keeps one parsed copy of a file per path and process, and parses it
// again only when the file's size or time has changed, which a coarse file clock
// can hide. So the bytes reach it in memory, needing no folder at all, under a
// file time that no earlier look has had.
std::optional<RecordStore::Values> parseInMemory(const QByteArray &bytes)
{
    static qint64 looks = 0;
    const int fd = memfd_create("tarvel-store", MFD_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    const QDateTime look = QDateTime::fromMSecsSinceEpoch(++looks, QTimeZone::utc());
    if (file.write(bytes) != bytes.size() || !file.flush()
        || !file.setFileTime(look, QFileDevice::FileModificationTime))
        return std::nullopt;
    return sectionOf(QStringLiteral("/proc/self/fd/%1").arg(fd));
}

// The lock file as it stands: which file, its size and its time.
QByteArray lockIdentity(const QString &lockPath)
{
    struct stat file = {};
    if (::stat(QFile::encodeName(lockPath).constData(), &file) != 0)
        return {};
    return QByteArray::number(qulonglong(file.st_ino)) + ' ' + QByteArray::number(qlonglong(file.st_size)) + ' '
        + QByteArray::number(qlonglong(file.st_mtim.tv_sec)) + '.'
        + QByteArray::number(qlonglong(file.st_mtim.tv_nsec));
}

// A lock no live process holds is taken over, whatever host, machine or PID it
// names: QLockFile keeps an operating-system lock on its file while its owner
// lives, the system drops it when the owner dies, and removeStaleLockFile()
// removes the file only when nobody holds it. A live owner is waited for.
bool takeLock(QLockFile &lock)
{
    lock.setStaleLockTime(0);
    const QDeadlineTimer deadline(LockWaitMs);
    QByteArray seen;
    while (!lock.tryLock(LockPollMs)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        // Only a file unchanged since the last look: a copy caught between creating
        // the file and locking it is left alone.
        const QByteArray identity = lockIdentity(lock.fileName());
        if (!identity.isEmpty() && identity == seen)
            lock.removeStaleLockFile();
        seen = identity;
    }
    return true;
}

// What a save killed half-way left beside the store. Called under the lock, so no live save owns them.
void removeLeftovers(const QFileInfo &store)
{
    const QDir dir = store.absoluteDir();
    const QStringList names
        = dir.entryList({ workPrefix(store) + QLatin1Char('*') }, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        QFile::remove(dir.filePath(name));
}

#ifdef TARVEL_TEST_HOOKS
// Lets a test catch this copy between its read and its write.
void holdForTest()
{
    if (qEnvironmentVariableIsSet("TARVEL_STOP_AFTER_READ"))
        ::raise(SIGSTOP);
}
#else
void holdForTest() { }
#endif
}

QString RecordStore::applicationName()
{
    // A renamed executable keeps a table of its own.
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString RecordStore::filePath()
{
    // Where QSettings keeps the user's settings, worked out without opening any
    // file: QSettings would read the organisation's file, which may be a FIFO.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + Organization
        + QLatin1Char('/') + applicationName() + QStringLiteral(".conf");
}

QString RecordStore::lockPath()
{
    // QSettings takes "<file>.lock" for itself.
    const QFileInfo file = storeFile();
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
    const std::optional<QByteArray> bytes = readBytes(storeFile());
    if (!bytes)
        return std::nullopt;
    if (bytes->isEmpty())
        return Values();
    return parseInMemory(*bytes);
}

RecordStore::Outcome RecordStore::transact(const std::function<bool(Values &)> &change)
{
    const QFileInfo store = storeFile();
    QDir().mkpath(store.absolutePath());
    QLockFile lock(lockPath());
    if (!takeLock(lock))
        return Outcome::Failed;
    removeLeftovers(store);

    const std::optional<QByteArray> bytes = readBytes(store);
    if (!bytes)
        return Outcome::Failed;
    // QSettings edits a copy beside the store, which then replaces the store at once.
    QTemporaryFile work(store.absolutePath() + QLatin1Char('/') + workPrefix(store) + QStringLiteral("XXXXXX"));
    if (!work.open() || work.write(*bytes) != bytes->size() || !work.flush())
        return Outcome::Failed;
    const QString workPath = work.fileName(); // gives the file its name while it is open
    work.close();
    holdForTest();

    const Values before = sectionOf(workPath);
    Values section = before;
    if (!change(section))
        return Outcome::Unchanged;
    {
        QSettings settings(workPath, QSettings::NativeFormat);
        settings.beginGroup(Section);
        // Only what changed, so values of other kinds keep their form.
        for (auto it = section.cbegin(); it != section.cend(); ++it) {
            const auto old = before.constFind(it.key());
            if (old == before.cend() || *old != it.value())
                settings.setValue(it.key(), it.value());
        }
        settings.sync(); // written to a temporary, synced to disk, renamed over the copy
        // A malformed line met while reading the copy shows as FormatError; the write itself worked.
        if (settings.status() == QSettings::AccessError)
            return Outcome::Failed;
    }
    if (QFile::exists(store.filePath()))
        QFile::setPermissions(workPath, QFile::permissions(store.filePath()));
    const bool replaced
        = std::rename(QFile::encodeName(workPath).constData(), QFile::encodeName(store.absoluteFilePath()).constData())
        == 0;
    return replaced ? Outcome::Saved : Outcome::Failed;
}
