#include "platform/FolderLock.h"

#include "platform/FolderFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FolderLock::FolderLock(const QString& path, int waitMs) {
    // Only a copy that may save holds the lock; one that may only read reads without it.
    if (const int denied = FolderFiles::writeDenied(QFileInfo(path).path())) {
        m_problem = FolderFiles::cause(denied);
        return;
    }
    // A few rounds at most: another copy may put a private lock file in place meanwhile.
    for (int round = 0; round < 3 && open(path); ++round) {
        m_state = lock(QFileInfo(path).fileName(), waitMs);
        // A lock file that an earlier version left open to every user, and that is another
        // child's (a file of ours was made private when opened), is a lock that anyone may
        // hold: held or not, it is replaced with a private one, locked before it is in place.
        // A classmate holds a lock for milliseconds, so one held for the whole wait is taken
        // to be an outsider's.
        if (m_state != State::Failed && m_openToOthers && makePrivate(path))
            return;
        if (m_state != State::Held || FolderFiles::sameFile(m_fd, path))
            return;
        // Another copy put a new lock file in place while this one waited: hold that one.
        ::close(m_fd);
        m_fd = -1;
        m_state = State::Failed;
    }
}

bool FolderLock::makePrivate(const QString& path) {
    QByteArray temporary;
    const int fd = FolderFiles::temporaryBeside(path, temporary);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(temporary.constData());
        ::close(fd);
        return false; // a sticky folder: each may replace only their own files
    }
    ::close(m_fd);
    m_fd = fd;
    m_state = State::Held;
    return true;
}

bool FolderLock::open(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const mode_t mode = FolderFiles::fileMode(QFileInfo(path).path());
    // O_NONBLOCK: a FIFO planted at the path must not hold start-up in open().
    m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    // A lock file that a classmate left read-only, or that belongs to another, still locks: the
    // lock needs no writing, only a folder where the next save can write.
    if (m_fd < 0 && errno == EACCES) {
        m_fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        m_readOnly = true;
    }
    if (m_fd < 0) {
        const int error = errno;
        const QString stands = FolderFiles::inTheWay(path);
        m_problem = !stands.isEmpty() ? stands
                    : error == EACCES ? QStringLiteral("non ho il permesso di aprire il file %1")
                                            .arg(QFileInfo(path).fileName())
                                      : FolderFiles::cause(error);
        return false;
    }
    struct stat opened {};
    if (::fstat(m_fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        m_problem = FolderFiles::inTheWay(path);
        return false;
    }
    if (opened.st_uid == ::geteuid())
        ::fchmod(m_fd, mode); // the umask would take the group's share away
    else
        m_openToOthers = opened.st_mode & (S_IROTH | S_IWOTH);
    return true;
}

FolderLock::State FolderLock::lock(const QString& name, int waitMs) {
    // A lock on the open file, which ends with the copy that holds it: threads of one process
    // exclude each other too.
    QElapsedTimer waited;
    waited.start();
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EBADF && m_readOnly) {
            // NFS and SMB lock a file as a byte range, which needs a file open for writing.
            m_problem = QStringLiteral("il file %1 è protetto dalla scrittura, e in una cartella "
                                       "di rete si blocca solo un file che si può scrivere")
                            .arg(name);
            return State::Failed;
        }
        if (errno != EWOULDBLOCK) {
            m_problem = FolderFiles::cause(errno);
            return State::Failed;
        }
        if (waited.elapsed() >= waitMs)
            return State::Busy;
        QThread::msleep(10);
    }
    return State::Held;
}

FolderLock::~FolderLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}
