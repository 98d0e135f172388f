#include "recordstore.h"

#include "storelock.h"
#include "testhook.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTimeZone>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {
const QString Organization = QStringLiteral("Tarvel");
const QString Section = QStringLiteral("Users Data");
// A live copy holds the lock for milliseconds; one that holds it longer is stuck.
constexpr int LockWaitMs = 5000;

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

// Where a save's own files start: in the store's folder, under the work prefix.
QString workStem(const QFileInfo &store)
{
    return store.absolutePath() + QLatin1Char('/') + workPrefix(store);
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

// Every key of a file as QSettings reads it, "Group/key".
using AllValues = QMap<QString, QVariant>;

AllValues valuesOf(const QString &path)
{
    QSettings settings(path, QSettings::NativeFormat);
    AllValues values;
    const QStringList keys = settings.allKeys();
    for (const QString &key : keys)
        values.insert(key, settings.value(key));
    return values;
}

RecordStore::Values sectionIn(const AllValues &values)
{
    RecordStore::Values section;
    const QString prefix = Section + QLatin1Char('/');
    for (auto it = values.lowerBound(prefix); it != values.cend() && it.key().startsWith(prefix); ++it)
        section.insert(it.key().mid(prefix.size()), it.value().toString());
    return section;
}

// A file of the program's own beside the store, under a fresh name that marks it as such. Held
// locked, so no other copy takes it for a crash's leftover; removed when it goes, unless renamed.
class WorkFile
{
public:
    explicit WorkFile(const QFileInfo &store)
        : m_path(QFile::encodeName(workStem(store)) + "XXXXXX")
        , m_fd(::mkostemp(m_path.data(), O_CLOEXEC))
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX | LOCK_NB);
    }
    ~WorkFile()
    {
        if (m_fd < 0)
            return;
        if (!m_renamed)
            ::unlink(m_path.constData());
        ::close(m_fd);
    }
    WorkFile(const WorkFile &) = delete;
    WorkFile &operator=(const WorkFile &) = delete;

    QString path() const { return QFile::decodeName(m_path); }
    bool write(const QByteArray &bytes)
    {
        QFile file;
        return m_fd >= 0 && file.open(m_fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)
            && file.write(bytes) == bytes.size() && file.flush();
    }
    bool renameTo(const QFileInfo &target)
    {
        m_renamed
            = m_fd >= 0 && ::rename(m_path.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) == 0;
        return m_renamed;
    }

private:
    QByteArray m_path;
    int m_fd;
    bool m_renamed = false;
};

// QSettings keeps one parsed copy of a file per path and process, and parses it again only when the
// file's size or time has changed, which a coarse file clock can hide. So bytes are parsed under a path
// no earlier look has had: in memory, needing no folder at all, or else in a work file beside the store.
std::optional<AllValues> parseInMemory(const QByteArray &bytes)
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
    // Through this process's own /proc, which a sandbox may hide or give to another process tree.
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    struct stat named = {}, opened = {};
    if (::stat(QFile::encodeName(path).constData(), &named) != 0 || ::fstat(fd, &opened) != 0
        || named.st_ino != opened.st_ino || named.st_dev != opened.st_dev)
        return std::nullopt;
    return valuesOf(path);
}

std::optional<AllValues> parse(const QByteArray &bytes, const QFileInfo &store)
{
    if (std::optional<AllValues> values = parseInMemory(bytes))
        return values;
    WorkFile copy(store);
    if (!copy.write(bytes))
        return std::nullopt;
    return valuesOf(copy.path());
}

// The new file takes on what the store carried: its owner where permitted, its mode, its ACL and
// other extended attributes. False when even the mode could not be kept.
bool keepAttributes(const QFileInfo &store, int fd)
{
    const QByteArray path = QFile::encodeName(store.absoluteFilePath());
    struct stat old = {};
    if (::stat(path.constData(), &old) != 0)
        return true; // a first save
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)!::fchown(fd, uid_t(-1), old.st_gid);
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return false;
    // An ACL travels as an extended attribute, and sets the mode's group bits as it is applied.
    const ssize_t size = ::listxattr(path.constData(), nullptr, 0);
    QByteArray names(qMax<ssize_t>(size, 0), '\0');
    if (size <= 0 || ::listxattr(path.constData(), names.data(), size_t(names.size())) != size)
        return true;
    for (const QByteArray &name : names.split('\0')) {
        const ssize_t length = name.isEmpty() ? -1 : ::getxattr(path.constData(), name.constData(), nullptr, 0);
        QByteArray value(qMax<ssize_t>(length, 0), '\0');
        if (length >= 0 && ::getxattr(path.constData(), name.constData(), value.data(), size_t(value.size())) == length)
            ::fsetxattr(fd, name.constData(), value.constData(), size_t(value.size()), 0);
    }
    return true;
}

// The work file, as QSettings left it, holds exactly what was meant, carries what the store carried
// and is on disk: a full disk can leave it short without QSettings noticing.
bool makeReady(const QString &workPath, const AllValues &meant, const QFileInfo &store)
{
    QFile file(workPath);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray written = file.readAll();
    return file.error() == QFileDevice::NoError && parse(written, store) == meant
        && keepAttributes(store, file.handle()) && ::fsync(file.handle()) == 0;
}

// What a save killed half-way left beside the store. Called under the lock; a file some copy still
// holds locked is a lock file being made, and is left to it.
void removeLeftovers(const QFileInfo &store)
{
    const QDir dir = store.absoluteDir();
    const QStringList names
        = dir.entryList({ workPrefix(store) + QLatin1Char('*') }, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        StoreLock::removeIfUnheld(QFile::encodeName(dir.filePath(name)), false);
}

// Only the owner's write permission lets a save replace the store; a store the player made read-only
// stays as it is, even for root.
bool isReplaceable(const QFileInfo &store)
{
    struct stat file = {};
    const QByteArray path = QFile::encodeName(store.absoluteFilePath());
    if (::stat(path.constData(), &file) != 0)
        return errno == ENOENT;
    return (file.st_mode & 0222) && ::access(path.constData(), W_OK) == 0;
}

void syncFolder(const QFileInfo &store)
{
    const int fd = ::open(QFile::encodeName(store.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
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
    const QFileInfo store = storeFile();
    const std::optional<QByteArray> bytes = readBytes(store);
    if (!bytes)
        return std::nullopt;
    if (bytes->isEmpty())
        return Values();
    if (const std::optional<AllValues> values = parse(*bytes, store))
        return sectionIn(*values);
    // No memory file and a folder nobody can write in, so no save can replace the store meanwhile:
    // QSettings reads the store itself.
    return sectionIn(valuesOf(store.absoluteFilePath()));
}

RecordStore::Outcome RecordStore::transact(const std::function<bool(Values &)> &change)
{
    const QFileInfo store = storeFile();
    QDir().mkpath(store.absolutePath());
    StoreLock lock(lockPath(), workStem(store));
    if (!lock.acquire(LockWaitMs))
        return Outcome::Failed;
    removeLeftovers(store);

    const std::optional<QByteArray> bytes = readBytes(store);
    if (!bytes || !isReplaceable(store))
        return Outcome::Failed;
    // QSettings edits a copy beside the store, which then replaces the store at once.
    WorkFile work(store);
    if (!work.write(*bytes))
        return Outcome::Failed;
    stopForTest("read");

    AllValues meant = valuesOf(work.path());
    const Values before = sectionIn(meant);
    Values section = before;
    if (!change(section))
        return Outcome::Unchanged;
    {
        QSettings settings(work.path(), QSettings::NativeFormat);
        settings.beginGroup(Section);
        // Only what changed, so values of other kinds keep their form.
        for (auto it = section.cbegin(); it != section.cend(); ++it) {
            const auto old = before.constFind(it.key());
            if (old == before.cend() || *old != it.value()) {
                settings.setValue(it.key(), it.value());
                meant.insert(Section + QLatin1Char('/') + it.key(), it.value());
            }
        }
        settings.sync();
        // A malformed line met while reading the copy shows as FormatError; the write itself worked.
        if (settings.status() == QSettings::AccessError)
            return Outcome::Failed;
    }
    if (!makeReady(work.path(), meant, store) || !work.renameTo(store))
        return Outcome::Failed;
    syncFolder(store);
    return Outcome::Saved;
}
