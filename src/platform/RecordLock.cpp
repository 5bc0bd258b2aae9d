#include "platform/RecordLock.h"

#include "platform/RecordFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool sameFile(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

} // namespace

RecordLock::RecordLock(const QString& path, int waitMs)
    : m_path(path) {
    const QByteArray native = QFile::encodeName(path);
    const QString folder = QFileInfo(path).path();
    const mode_t mode = RecordFiles::fileMode(folder);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        // O_NONBLOCK: a FIFO planted at the path must not hold start-up in open().
        int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                        mode);
        // A lock file that a classmate left read-only, or that belongs to another, still locks:
        // the lock needs no writing, only a folder where the next save can write.
        if (fd < 0 && errno == EACCES &&
            ::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK, AT_EACCESS) == 0)
            fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            const int error = errno;
            const QString stands = RecordFiles::inTheWay(path);
            m_problem = !stands.isEmpty() ? stands
                        : error == EACCES && QFile::exists(path)
                            ? QStringLiteral("il file %1 è protetto dalla scrittura")
                                  .arg(QFileInfo(path).fileName())
                            : RecordFiles::cause(error);
            return;
        }
        struct stat opened {};
        ::fstat(fd, &opened);
        if (!S_ISREG(opened.st_mode)) {
            ::close(fd);
            m_problem = RecordFiles::inTheWay(path);
            return;
        }
        if (opened.st_uid == ::geteuid())
            ::fchmod(fd, mode);
        // A lock on the open file, which any descriptor can take, even a read-only one: threads
        // of one process exclude each other too.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before us removes the file as it lets go: ours must still be the one
            // at the path, or we hold a lock nobody else can see.
            struct stat atPath {};
            if (::lstat(native.constData(), &atPath) == 0 && sameFile(opened, atPath)) {
                m_fd = fd;
                m_state = State::Held;
                return;
            }
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK) {
            m_problem = RecordFiles::cause(error);
            return;
        }
        if (waited.elapsed() >= waitMs) {
            m_state = State::Busy;
            return;
        }
        QThread::msleep(10);
    }
}

RecordLock::~RecordLock() {
    if (m_fd < 0)
        return;
    RecordFiles::remove(m_path);
    ::close(m_fd);
}
