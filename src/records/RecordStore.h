#pragma once

#include <QByteArray>
#include <QString>

// The two record files and their safe rewriting. A save writes the pending pair to a journal
// first, then each file through a temporary file renamed into place, all under a lock file:
// a failure or a crash at any point leaves the old pair or the new pair, never one of each.
class RecordStore {
public:
    enum class Step { Locked, JournalWritten, ScoreWritten, NameWritten, Done };

    // A seam for tests: called after each step of a save, where a test can throw to cut the
    // save short as a crash would.
    class Faults {
    public:
        virtual ~Faults() = default;
        virtual void after(Step step) = 0;
    };

    struct Read {
        QString text;
        QString error; // empty when the file was read
        bool ok() const { return error.isEmpty(); }
    };

    struct Saved {
        enum class Outcome { Written, BeatenMeanwhile, Failed };
        Outcome outcome = Outcome::Failed;
        QString error;
    };

    // Files larger than this are read only this far, so a huge file cannot freeze the window.
    static constexpr qint64 readCap = 4096;

    explicit RecordStore(QString windir, Faults* faults = nullptr);

    QString scorePath() const { return m_windir + QStringLiteral("/aquarvel.txt"); }
    QString namePath() const { return m_windir + QStringLiteral("/quarvel.txt"); }
    QString journalPath() const { return m_windir + QStringLiteral("zenobra-record.journal"); }
    QString lockPath() const { return m_windir + QStringLiteral("zenobra-record.lock"); }

    // Completes or discards a save that was cut short, then creates missing files empty.
    // Returns a message for the player, or "" when all is well.
    QString prepare() const;
    // Writes both lines, each ended by CR LF, unless the files already hold a record as high.
    Saved save(const QString& scoreLine, const QString& nameLine) const;

    static Read read(const QString& path);
    // UTF-8, falling back to Latin-1 when the bytes are not valid UTF-8.
    static QString decode(const QByteArray& bytes);
    static QByteArray line(const QString& text) { return text.toUtf8() + "\r\n"; }

private:
    static QString writeWhole(const QString& path, const QByteArray& bytes);
    void reached(Step step) const {
        if (m_faults)
            m_faults->after(step);
    }

    QString m_windir;
    Faults* m_faults = nullptr;
};
