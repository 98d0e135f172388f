#include "storelock.h"

#include "testhook.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QList>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int PollMs = 20;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What QLockFile writes: the owner's process number, program, host and machine.
QByteArray ownerText()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' + QCoreApplication::applicationName().toUtf8()
        + '\n' + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n';
}

// Where flock is refused: the lock was made on this host by a process that has ended.
bool ownerEnded(int fd)
{
    char text[1024];
    const ssize_t size = ::pread(fd, text, sizeof text, 0);
    const QList<QByteArray> lines = QByteArray(text, qMax<ssize_t>(size, 0)).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).toLongLong(&ok);
    return ok && pid > 0 && lines.value(2) == QSysInfo::machineHostName().toUtf8() && ::kill(pid_t(pid), 0) != 0
        && errno == ESRCH;
}
}

StoreLock::StoreLock(const QString &path, const QString &scratchPrefix)
    : m_path(QFile::encodeName(path))
    , m_scratchPrefix(QFile::encodeName(scratchPrefix))
{
}

StoreLock::~StoreLock()
{
    if (m_fd < 0)
        return;
    struct stat held = {}, named = {};
    if (::fstat(m_fd, &held) == 0 && ::lstat(m_path.constData(), &named) == 0 && sameFile(held, named))
        ::unlink(m_path.constData());
    ::close(m_fd);
}

bool StoreLock::acquire(int waitMs)
{
    const QDeadlineTimer deadline(waitMs);
    QByteArray scratch;
    int fd = -1;
    for (;;) {
        if (fd < 0 && (fd = makeScratch(scratch)) < 0)
            return false;
        if (::link(scratch.constData(), m_path.constData()) == 0) {
            ::unlink(scratch.constData());
            m_fd = fd;
            return true;
        }
        const int error = errno;
        if (error == ENOENT && !deadline.hasExpired()) {
            // The scratch file was removed as a crash's leftover in the moment before it was locked.
            ::close(fd);
            fd = -1;
            continue;
        }
        const Found found = error == EEXIST ? inspect() : Found::Foreign;
        if (found == Found::Gone && !deadline.hasExpired())
            continue;
        if (found == Found::Foreign || deadline.hasExpired()) {
            ::unlink(scratch.constData());
            ::close(fd);
            return false;
        }
        QThread::msleep(PollMs);
    }
}

int StoreLock::makeScratch(QByteArray &scratchPath) const
{
    scratchPath = m_scratchPrefix + "XXXXXX";
    const int fd = ::mkostemp(scratchPath.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    stopForTest("scratch");
    const QByteArray owner = ownerText();
    // Locked before it has content, and readable by every account, which can then test it for a holder.
    if ((::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno != ENOLCK) || ::fchmod(fd, 0644) != 0
        || ::write(fd, owner.constData(), size_t(owner.size())) != owner.size()) {
        ::unlink(scratchPath.constData());
        ::close(fd);
        return -1;
    }
    return fd;
}

StoreLock::Found StoreLock::inspect() const
{
    // Whatever else stands at the lock's name (a FIFO, a folder, a link, a device) is not a lock.
    struct stat named = {};
    if (::lstat(m_path.constData(), &named) != 0)
        return errno == ENOENT ? Found::Gone : Found::Foreign;
    if (!S_ISREG(named.st_mode))
        return Found::Foreign;
    return removeIfUnheld(m_path, true) ? Found::Gone : Found::Live;
}

bool StoreLock::removeIfUnheld(const QByteArray &path, bool judgeOwner)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    stopForTest("takeover");
    struct stat opened = {}, named = {};
    const bool unheld = ::fstat(fd, &opened) == 0
        && (::flock(fd, LOCK_EX | LOCK_NB) == 0 || (errno == ENOLCK && (!judgeOwner || ownerEnded(fd))));
    // Removed only if the name still stands for the very file tested, not for one another copy put there
    // meanwhile.
    if (unheld && ::lstat(path.constData(), &named) == 0 && sameFile(opened, named))
        ::unlink(path.constData());
    ::close(fd);
    return unheld;
}
