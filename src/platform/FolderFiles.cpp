#include "platform/FolderFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FolderFiles {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString whatStands(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("al suo posto c'è una cartella");
    if (S_ISLNK(mode))
        return QStringLiteral("al suo posto c'è un collegamento a un altro file");
    if (S_ISFIFO(mode))
        return QStringLiteral("al suo posto c'è una FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("al suo posto c'è un socket");
    if (!S_ISREG(mode))
        return QStringLiteral("al suo posto c'è un dispositivo");
    return {};
}

// QFile would lose errno, which tells a full disk from a failing one.
bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool isSticky(const QString& folder) {
    struct stat status {};
    return ::stat(native(folder).constData(), &status) == 0 && (status.st_mode & S_ISVTX);
}

} // namespace

QString folderProblem(const QString& folder) {
    struct stat status {};
    if (::stat(native(folder).constData(), &status) != 0)
        return QStringLiteral("Non trovo la cartella del record %1.").arg(folder);
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("La cartella del record %1 non è una cartella.").arg(folder);
    if (::access(native(folder).constData(), R_OK | X_OK) != 0)
        return QStringLiteral("Non ho il permesso di leggere la cartella del record %1.")
            .arg(folder);
    return {};
}

QString inTheWay(const QString& path) {
    struct stat status {};
    if (::lstat(native(path).constData(), &status) != 0)
        return {};
    return whatStands(status.st_mode);
}

bool nothingAt(const QString& path) {
    struct stat status {};
    return ::lstat(native(path).constData(), &status) != 0 && errno == ENOENT;
}

bool stillAt(const QString& path, const Bytes& read) {
    struct stat status {};
    return ::lstat(native(path).constData(), &status) == 0 && status.st_dev == read.device &&
           status.st_ino == read.inode;
}

bool sameFile(int fd, const QString& path) {
    struct stat open {
    }, atPath{};
    return ::fstat(fd, &open) == 0 && ::lstat(native(path).constData(), &atPath) == 0 &&
           open.st_dev == atPath.st_dev && open.st_ino == atPath.st_ino;
}

QString cause(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("la cartella è protetta dalla scrittura");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("il disco è pieno");
    case EROFS:
        return QStringLiteral("il disco si può solo leggere");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("la cartella non c'è più");
    case ELOOP:
        return whatStands(S_IFLNK);
    case EISDIR:
        return whatStands(S_IFDIR);
    case EIO:
        return QStringLiteral("il disco non risponde");
    case ENOLCK:
        return QStringLiteral("la cartella non permette di bloccare i file");
    default:
        return QStringLiteral("errore di sistema numero %1").arg(error);
    }
}

int writeDenied(const QString& folder) {
    return ::faccessat(AT_FDCWD, native(folder).constData(), W_OK | X_OK, AT_EACCESS) == 0 ? 0
                                                                                           : errno;
}

Bytes read(const QString& path, qint64 cap) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (const QString stands = inTheWay(path); !stands.isEmpty())
            return {{}, false, stands};
        return {{},
                false,
                error == EACCES ? QStringLiteral("non ho il permesso di leggerlo") : cause(error)};
    }
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return {{}, false, cause(errno)};
    if (const QString stands = whatStands(status.st_mode); !stands.isEmpty())
        return {{}, false, stands};
    QFile opened;
    if (!opened.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {{}, false, opened.errorString()};
    const QByteArray bytes = opened.read(cap);
    if (opened.error() != QFileDevice::NoError)
        return {{}, false, cause(EIO)};
    return {bytes, status.st_size > cap, {}, status.st_dev, status.st_ino};
}

QString createIfMissing(const QString& path) {
    if (!inTheWay(path).isEmpty())
        return {}; // the read that follows says what stands there
    const mode_t mode = fileMode(QFileInfo(path).path());
    const int fd = ::open(native(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0)
        return errno == EEXIST ? QString() : cause(errno);
    ::fchmod(fd, mode); // the umask would take the group's share away
    ::close(fd);
    return {};
}

QString replace(const QString& path, const QByteArray& bytes, const std::function<void()>& staged,
                std::optional<unsigned> mode) {
    if (const QString stands = inTheWay(path); !stands.isEmpty())
        return stands;
    if (::faccessat(AT_FDCWD, native(path).constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
        return QStringLiteral("il file è protetto dalla scrittura");

    QByteArray temporary;
    const int fd = temporaryBeside(path, temporary);
    if (fd < 0)
        return cause(errno);
    if (mode)
        ::fchmod(fd, *mode);
    // Every byte is on the disk before the rename, or a power cut could leave an empty file.
    const bool written = writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!written) {
        ::unlink(temporary.constData());
        return QStringLiteral("la scrittura non è riuscita: %1").arg(cause(error));
    }
    if (staged)
        staged();
    if (::rename(temporary.constData(), native(path).constData()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.constData());
        // EPERM: a folder with the sticky bit lets each user replace only their own files.
        if (renameError == EPERM && isSticky(QFileInfo(path).path()))
            return QStringLiteral("il file è di un altro utente, e la cartella permette a ciascuno "
                                  "di sostituire solo i propri file");
        return QStringLiteral("non riesco a mettere il file scritto al posto del vecchio: %1")
            .arg(cause(renameError));
    }
    return {};
}

int temporaryBeside(const QString& path, QByteArray& name) {
    const QFileInfo target(path);
    // O_EXCL on a fresh name: a link planted there is never followed.
    name = native(target.dir().filePath(QStringLiteral(".zenobra-tmp.") + target.fileName())) +
           ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0)
        ::fchmod(fd, fileMode(target.path()));
    return fd;
}

QString append(const QString& path, const QByteArray& bytes, const QByteArray& firstBytes) {
    const QByteArray name = native(path);
    constexpr int flags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(name.constData(), flags);
    if (fd < 0 && errno == ENOENT) {
        const mode_t mode = fileMode(QFileInfo(path).path());
        fd = ::open(name.constData(), flags | O_CREAT | O_EXCL, mode);
        if (fd >= 0)
            ::fchmod(fd, mode); // the umask would take the group's share away
    }
    if (fd < 0) {
        const int error = errno;
        const QString stands = inTheWay(path);
        return !stands.isEmpty() ? stands
               : error == EACCES ? QStringLiteral("non ho il permesso di scriverci")
                                 : cause(error);
    }
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return cause(errno);
    if (const QString stands = whatStands(status.st_mode); !stands.isEmpty())
        return stands;
    const QByteArray line = status.st_size == 0 ? firstBytes + bytes : bytes;
    // The line's room first: a full disk then takes none of it. A line cut by a full disk could
    // not always be cut off again (an append-only file, chattr +a), and the next line would be
    // glued to it: two matches lost for half of one.
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, status.st_size, line.size()) != 0 &&
        (errno == ENOSPC || errno == EDQUOT))
        return cause(errno);
    if (!writeAll(fd, line)) {
        const int error = errno;
        if (::ftruncate(fd, status.st_size) != 0) {
            // Nothing more can be done: the reader skips a line without its end.
        }
        return cause(error);
    }
    return {};
}

void remove(const QString& path) {
    ::unlink(native(path).constData());
}

QString rename(const QString& from, const QString& to) {
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        return cause(errno);
    syncFolder(QFileInfo(to).path());
    return {};
}

std::optional<unsigned> permissions(const QString& path) {
    struct stat status {};
    if (::stat(native(path).constData(), &status) != 0)
        return std::nullopt;
    return status.st_mode & 0660;
}

void removeTemporaries(const QString& folder) {
    static const QRegularExpression ours(QStringLiteral("^\\.zenobra-tmp\\..+\\.[A-Za-z0-9]{6}$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System))
        if (ours.match(name).hasMatch())
            remove(dir.filePath(name));
}

void syncFolder(const QString& folder) {
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

unsigned fileMode(const QString& folder) {
    struct stat status {};
    if (::stat(native(folder).constData(), &status) != 0)
        return 0600;
    // Never readable or writable by every user, whatever the folder allows: the record holds a
    // child's name, and a file open for reading can hold the lock. Only the group may share it.
    return status.st_mode & 0660;
}

} // namespace FolderFiles
