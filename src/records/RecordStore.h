#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The two record files and their safe rewriting. A save writes the pending pair to a journal
// first, then each file through a temporary file renamed into place, all under a lock: a
// failure or a crash at any point leaves the old pair or the new pair, never one of each. A
// reader, with the lock or without it, shows a whole pair too.
class RecordStore {
public:
    enum class Step {
        Locked,
        JournalWritten,
        ScoreStaged, // the new score is in its temporary file, not yet renamed into place
        ScoreWritten,
        NameStaged,
        NameWritten,
        FolderSynced,
        Done,
    };

    // A seam for tests: called after each step, where a test can cut a save short as a crash
    // would, or slow it down.
    class Faults {
    public:
        virtual ~Faults() = default;
        virtual void after(Step step) = 0;
    };

    // The record as its two files hold it, line ends included.
    struct Record {
        QString score;
        QString name;
    };

    struct Loaded {
        Record record;   // empty when it could not be read whole
        QString problem; // a message for the player, or ""
    };

    struct Saved {
        enum class Outcome { Written, BeatenMeanwhile, Failed };
        Outcome outcome = Outcome::Failed;
        QString problem;
        Record higher; // with BeatenMeanwhile: the record that another copy saved
    };

    // Files larger than this are read only this far, so a huge file cannot freeze the window.
    static constexpr qint64 readCap = 4096;
    // A journal holds a whole name of any length the name box takes.
    static constexpr qint64 journalCap = 1 << 20;
    // The lesson whose files keep the names they always had: aquarvel.txt, not aquarvel-15.txt.
    static constexpr int plainNamesLesson = 15;
    // Said after a problem that does not itself say that the record was not saved.
    static const QString notSaved;

    struct Options {
        int lesson = plainNamesLesson;
        Faults* faults = nullptr;
        int lockWaitMs = 5000; // how long a save waits for another copy's
    };

    // `folder`: an existing folder. Each lesson has a record of its own there, in files named
    // after its divisor (aquarvel-3.txt), but for the lesson of 15 (aquarvel.txt); one lock
    // serves them all.
    RecordStore(const QString& folder, const Options& options);
    explicit RecordStore(const QString& folder);

    QString scorePath() const { return path(QStringLiteral("aquarvel%1.txt").arg(m_lessonMark)); }
    QString namePath() const { return path(QStringLiteral("quarvel%1.txt").arg(m_lessonMark)); }
    QString journalPath() const {
        return path(QStringLiteral("zenobra-record%1.journal").arg(m_lessonMark));
    }
    QString lockPath() const { return path(QStringLiteral("zenobra-record.lock")); }

    // Start-up: completes or discards a save that was cut short, removes the temporary files
    // it left, creates missing files empty and reads both.
    Loaded load() const;
    // Writes both lines, each ended by CR LF, unless the files already hold a record as high.
    Saved save(const QString& scoreLine, const QString& nameLine) const;
    // Empties both files, as a save would: "" or what kept them as they were.
    QString clear() const;

    // A record file's text: UTF-8, falling back to Latin-1 when the bytes are not valid UTF-8.
    // `cut`: the bytes are the start of a longer file, and may end inside a character.
    static QString decode(const QByteArray& bytes, bool cut = false);

private:
    QString path(const QString& name) const;
    QString writeWhole(const QString& path, const QByteArray& bytes,
                       std::optional<Step> staged = std::nullopt) const;
    // The journal first, then each file renamed into place; a failure leaves the old pair, and
    // the old score put back (when it was read) where the name could not follow it.
    QString writePair(const QByteArray& pending, const QByteArray& score, const QByteArray& name,
                      const std::optional<QByteArray>& oldScore) const;
    // A save cut short is finished, or its journal discarded when it cannot be parsed.
    QString completeJournal() const;
    // The journal's pair when a save is pending, else both files read whole, else a problem.
    Loaded readWhole() const;
    void syncFolder() const;
    void reached(Step step) const {
        if (m_faults)
            m_faults->after(step);
    }

    QString m_folder;
    QString m_lessonMark; // "" or "-3"
    Faults* m_faults;
    int m_lockWaitMs;
};
