#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <functional>

// The files of a record folder, opened as an untrusted folder demands: a link is never
// followed, a FIFO or a device never blocks, a read never goes past its cap, and every failure
// is said in Italian words that name its real cause.
namespace RecordFiles {

struct Bytes {
    QByteArray bytes;
    bool cut = false; // the file holds more than the cap
    QString why;      // empty when the file was read
    dev_t device = 0; // which file was read: a rename puts another one at the path
    ino_t inode = 0;
};

// "" when a regular file or nothing is at the path, else what stands there instead
// ("al suo posto c'è una cartella").
QString inTheWay(const QString& path);
// Nothing at all is at the path, not even a dangling link.
bool nothingAt(const QString& path);
// The file that was read is still the one at its path.
bool stillAt(const QString& path, const Bytes& read);
// The cause of a failed system call, in words a player can read.
QString cause(int error);

// At most `cap` bytes of a regular file.
Bytes read(const QString& path, qint64 cap);
// Creates an empty file unless something is already there; the reason when that fails.
QString createIfMissing(const QString& path, mode_t mode);
// Replaces the file whole: a temporary file of ours, synced, renamed into place. A record
// file that is protected from writing is left alone. The reason when it fails.
QString replace(const QString& path, const QByteArray& bytes, mode_t mode,
                const std::function<void()>& staged = {});
// Our temporary files carry this mark, and only such files are removed as litter.
bool isOurTemporary(const QString& fileName);
// The permissions of the files made in a folder: the reading and writing that the folder
// grants, except writing by every user.
mode_t fileMode(const QString& folder);
// Makes the folder's renames survive a power cut.
void syncFolder(const QString& folder);

} // namespace RecordFiles
