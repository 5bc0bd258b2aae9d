#pragma once

#include <QString>

// The lock that one copy of the game holds while it reads or writes the record. It is a lock
// that the system keeps on the lock file for the copy that took it, not the file itself: when
// a copy ends, even killed, its lock goes with it, so a lock file left behind never stands in
// anybody's way.
class FolderLock {
public:
    enum class State {
        Held,
        Busy,   // another living copy held it for the whole wait
        Failed, // nothing could be locked: problem() says what stands in the way
    };

    FolderLock(const QString& path, int waitMs);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    State state() const { return m_state; }
    QString problem() const { return m_problem; }

private:
    // Opens the lock file, for writing where it may; false, with the problem, when it cannot.
    bool open(const QString& path);
    // Takes the lock within the wait.
    State lock(const QString& name, int waitMs);
    // Puts a private lock file, already locked, in the place of the one open to others.
    bool makePrivate(const QString& path);

    int m_fd = -1;
    bool m_readOnly = false;
    bool m_openToOthers = false; // another's lock file that every user may open
    State m_state = State::Failed;
    QString m_problem;
};
