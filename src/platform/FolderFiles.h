#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// The files of a record folder, opened as an untrusted folder demands: a link is never
// followed, a FIFO or a device never blocks, a read never goes past its cap, and every problem
// is said in Italian words that name its real cause. A file made here gets the reading and
// writing that its folder grants, never writing by every user.
namespace FolderFiles {

struct Bytes {
    QByteArray bytes;
    bool cut = false; // the file holds more than the cap
    QString problem;  // empty when the file was read
    // Which file was read: a rename puts another one at the path.
    quint64 device = 0;
    quint64 inode = 0;
};

// What keeps the folder itself from being used, or "".
QString folderProblem(const QString& folder);
// "" when a regular file or nothing is at the path, else what stands there instead
// ("al suo posto c'è una cartella").
QString inTheWay(const QString& path);
// Nothing at all is at the path, not even a dangling link.
bool nothingAt(const QString& path);
// The file that was read is still the one at its path.
bool stillAt(const QString& path, const Bytes& read);
// The open file is the one at the path.
bool sameFile(int fd, const QString& path);
// The cause of a failed system call, in words a player can read.
QString cause(int error);
// 0 when this user may make and replace files in the folder, else why not (an errno).
int writeDenied(const QString& folder);

// At most `cap` bytes of a regular file.
Bytes read(const QString& path, qint64 cap);
// Creates an empty file unless something is already there.
QString createIfMissing(const QString& path);
// Replaces the file whole: a temporary file of ours, synced, renamed into place; `staged` runs
// just before the rename. A record file that is protected from writing is left alone. `mode`:
// the new file's permissions, when not the folder's.
QString replace(const QString& path, const QByteArray& bytes,
                const std::function<void()>& staged = {}, std::optional<unsigned> mode = {});
// A new file of ours beside the path, with the folder's permissions, for a rename into its place:
// its descriptor, or -1 with errno; `name` is set to its path.
int temporaryBeside(const QString& path, QByteArray& name);
// Appends the bytes whole with one write, after `firstBytes` when the file is empty or missing
// (then made), never reading the file: one that only the teacher may read still takes a line.
// A failed write is cut off again, so a line is there whole or not at all.
QString append(const QString& path, const QByteArray& bytes, const QByteArray& firstBytes);
void remove(const QString& path);
// Gives the file another name in its folder, and syncs the folder: "" or the cause.
QString rename(const QString& from, const QString& to);
// The file's permissions for its owner and group; nothing when it cannot be looked at.
std::optional<unsigned> permissions(const QString& path);
// Removes the temporary files that a killed save left in the folder, and only files with our
// mark: a backup beside the record is never touched.
void removeTemporaries(const QString& folder);
// Makes the folder's renames survive a power cut.
void syncFolder(const QString& folder);
// The permissions of the files made in a folder, the lock file's too: the folder's own, for
// its owner and group only.
unsigned fileMode(const QString& folder);

} // namespace FolderFiles
