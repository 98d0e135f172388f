#pragma once

#include <QByteArray>
#include <QString>

// The lock all running copies share while they change the store: a file whose
// holder keeps an operating-system lock (flock) on it while it lives.
//
// A copy makes its lock file whole and locked under a scratch name of its own,
// then links it into place, so no other copy ever sees it unheld while its owner
// lives. A lock file that nobody holds was left by a copy that died: it is taken
// over at once, whoever made it, and only that very file is removed. Where the
// file system refuses flock, a lock is judged stale as QLockFile judges it: made
// on this host by a process that no longer runs.
class StoreLock
{
public:
    // `scratchPrefix`: the start of the scratch name, a path beside the lock.
    StoreLock(const QString &path, const QString &scratchPrefix);
    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    // Waits up to `waitMs` for a live holder. False at once when something that is
    // not a lock file stands at the lock's name.
    bool acquire(int waitMs);

    // Removes the file at `path` when no live copy holds it: one left by a copy that died. Never follows a
    // link nor waits on what stands there. False while a copy holds it; where the file system refuses flock,
    // with `judgeOwner` a file whose owner has ended counts as unheld, without it any file does.
    static bool removeIfUnheld(const QByteArray &path, bool judgeOwner);

private:
    enum class Found { Gone, Live, Foreign };
    // Looks at what stands at the lock's name, and removes it when it is a lock nobody holds.
    Found inspect() const;
    int makeScratch(QByteArray &scratchPath) const;

    QByteArray m_path;
    QByteArray m_scratchPrefix;
    int m_fd = -1;
};
