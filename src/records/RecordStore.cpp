#include "records/RecordStore.h"

#include "platform/FolderFiles.h"
#include "platform/FolderLock.h"
#include "platform/NumberText.h"

#include <QDir>
#include <QStringDecoder>
#include <QThread>

namespace {

const QByteArray journalMagic = QByteArrayLiteral("zenobra-record 1");

const QString anotherCopySaving =
    QStringLiteral("Non riesco a leggere il record: un'altra copia del gioco lo sta salvando.");

QString cannotWrite(const QString& path, const QString& problem) {
    return QStringLiteral("Non ho potuto registrare il record nel file %1: %2.").arg(path, problem);
}

QString cannotRead(const QString& path, const QString& problem) {
    return QStringLiteral("Non riesco a leggere il record dal file %1: %2.").arg(path, problem);
}

struct Lines {
    QByteArray score;
    QByteArray name;
};

QByteArray line(const QString& text) {
    return text.toUtf8() + "\r\n";
}

QByteArray journal(const Lines& lines) {
    return journalMagic + '\n' + lines.score.toBase64() + '\n' + lines.name.toBase64() + '\n';
}

std::optional<Lines> parseJournal(const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() != 4 || lines[0] != journalMagic || !lines[3].isEmpty())
        return std::nullopt;
    const auto score =
        QByteArray::fromBase64Encoding(lines[1], QByteArray::AbortOnBase64DecodingErrors);
    const auto name =
        QByteArray::fromBase64Encoding(lines[2], QByteArray::AbortOnBase64DecodingErrors);
    if (!score || !name)
        return std::nullopt;
    return Lines{*score, *name};
}

// The bytes of a file cut at the cap end inside a character when the cut split one.
QByteArray withoutSplitCharacter(const QByteArray& bytes) {
    for (qsizetype back = 1; back <= std::min<qsizetype>(4, bytes.size()); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: the character began further back
        const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? bytes.left(bytes.size() - back) : bytes;
    }
    return bytes;
}

QString text(const FolderFiles::Bytes& file) {
    return RecordStore::decode(file.bytes, file.cut);
}

} // namespace

const QString RecordStore::notSaved = QStringLiteral(" Il record non è stato registrato.");

RecordStore::RecordStore(const QString& folder, const Options& options)
    : m_folder(QDir::cleanPath(folder))
    , m_lessonMark(options.lesson == plainNamesLesson ? QString()
                                                      : QStringLiteral("-%1").arg(options.lesson))
    , m_faults(options.faults)
    , m_lockWaitMs(options.lockWaitMs) {}

RecordStore::RecordStore(const QString& folder)
    : RecordStore(folder, Options{}) {}

QString RecordStore::path(const QString& name) const {
    return QDir(m_folder).filePath(name);
}

QString RecordStore::decode(const QByteArray& bytes, bool cut) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(cut ? withoutSplitCharacter(bytes) : bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QString RecordStore::writeWhole(const QString& path, const QByteArray& bytes,
                                std::optional<Step> staged) const {
    const QString problem = FolderFiles::replace(path, bytes, [&] {
        if (staged)
            reached(*staged);
    });
    return problem.isEmpty() ? QString() : cannotWrite(path, problem);
}

void RecordStore::syncFolder() const {
    FolderFiles::syncFolder(m_folder);
    reached(Step::FolderSynced);
}

QString RecordStore::completeJournal() const {
    if (const QString stands = FolderFiles::inTheWay(journalPath()); !stands.isEmpty())
        return cannotRead(journalPath(), stands);
    if (FolderFiles::nothingAt(journalPath()))
        return {};
    if (const auto lines = parseJournal(FolderFiles::read(journalPath(), journalCap).bytes)) {
        if (QString problem = writeWhole(scorePath(), lines->score); !problem.isEmpty())
            return problem;
        if (QString problem = writeWhole(namePath(), lines->name); !problem.isEmpty())
            return problem;
        syncFolder();
    }
    FolderFiles::remove(journalPath());
    syncFolder();
    return {};
}

RecordStore::Loaded RecordStore::readWhole() const {
    // Without the lock another copy may be saving: the pair that its journal says is coming,
    // else a pair that stood whole on disk, with no journal, from before the first read to
    // after the last. Under the lock the first try finds the pair on disk.
    QString problem = anotherCopySaving;
    for (int attempt = 0; attempt < 50; ++attempt, QThread::msleep(10)) {
        const FolderFiles::Bytes pending = FolderFiles::read(journalPath(), journalCap);
        if (const auto coming = parseJournal(pending.bytes))
            return {{decode(coming->score), decode(coming->name)}, {}};
        if (!FolderFiles::nothingAt(journalPath())) {
            // A journal is renamed into place whole: one read that does not parse is no save
            // under way, nor is a FIFO or a folder. One not read may have been replaced meanwhile.
            if (pending.problem.isEmpty())
                return {{}, cannotRead(journalPath(), QStringLiteral("il file è rovinato"))};
            problem = cannotRead(journalPath(), pending.problem);
            if (!FolderFiles::inTheWay(journalPath()).isEmpty())
                return {{}, problem};
            continue;
        }
        const FolderFiles::Bytes score = FolderFiles::read(scorePath(), readCap);
        const FolderFiles::Bytes name = FolderFiles::read(namePath(), readCap);
        if (!score.problem.isEmpty())
            return {{}, cannotRead(scorePath(), score.problem)};
        if (!name.problem.isEmpty())
            return {{}, cannotRead(namePath(), name.problem)};
        if (FolderFiles::nothingAt(journalPath()) && FolderFiles::stillAt(scorePath(), score) &&
            FolderFiles::stillAt(namePath(), name))
            return {{text(score), text(name)}, {}};
        problem = anotherCopySaving;
    }
    return {{}, problem};
}

RecordStore::Loaded RecordStore::load() const {
    if (QString problem = FolderFiles::folderProblem(m_folder); !problem.isEmpty())
        return {{}, problem};
    const FolderLock lock(lockPath(), m_lockWaitMs);
    if (lock.state() == FolderLock::State::Busy)
        return {readWhole().record, anotherCopySaving};
    if (lock.state() == FolderLock::State::Failed) {
        // A folder we may only read is no news; anything else stands in the way of the next
        // record.
        Loaded loaded = readWhole();
        if (loaded.problem.isEmpty() && !FolderFiles::inTheWay(lockPath()).isEmpty())
            loaded.problem =
                QStringLiteral("Non potrò registrare un nuovo record: il file %1 non si può "
                               "usare, %2.")
                    .arg(lockPath(), lock.problem());
        return loaded;
    }
    if (QString problem = completeJournal(); !problem.isEmpty())
        return {{}, problem};
    FolderFiles::removeTemporaries(m_folder);
    for (const QString& path : {scorePath(), namePath()})
        if (QString problem = FolderFiles::createIfMissing(path); !problem.isEmpty())
            return {{},
                    QStringLiteral("Non riesco a creare il file del record %1: %2.")
                        .arg(path, problem)};
    return readWhole();
}

QString RecordStore::writePair(const QByteArray& pending, const QByteArray& score,
                               const QByteArray& name,
                               const std::optional<QByteArray>& oldScore) const {
    if (QString problem = writeWhole(journalPath(), pending); !problem.isEmpty())
        return problem;
    reached(Step::JournalWritten);
    syncFolder();
    if (QString problem = writeWhole(scorePath(), score, Step::ScoreStaged); !problem.isEmpty()) {
        FolderFiles::remove(journalPath());
        return problem;
    }
    reached(Step::ScoreWritten);
    if (QString problem = writeWhole(namePath(), name, Step::NameStaged); !problem.isEmpty()) {
        // Put the old score back, so the pair on disk stays the old one.
        if (oldScore && writeWhole(scorePath(), *oldScore).isEmpty())
            FolderFiles::remove(journalPath());
        return problem;
    }
    reached(Step::NameWritten);
    syncFolder();
    FolderFiles::remove(journalPath());
    syncFolder();
    reached(Step::Done);
    return {};
}

QString RecordStore::clear() const {
    const FolderLock lock(lockPath(), m_lockWaitMs);
    if (lock.state() != FolderLock::State::Held)
        return cannotWrite(scorePath(),
                           lock.state() == FolderLock::State::Busy
                               ? QStringLiteral("un'altra copia del gioco lo sta usando")
                               : lock.problem());
    if (QString problem = completeJournal(); !problem.isEmpty())
        return problem;
    const FolderFiles::Bytes old = FolderFiles::read(scorePath(), readCap);
    return writePair(journal({}), {}, {},
                     old.problem.isEmpty() ? std::optional(old.bytes) : std::nullopt);
}

RecordStore::Saved RecordStore::save(const QString& scoreLine, const QString& nameLine) const {
    using Outcome = Saved::Outcome;
    if (QString problem = FolderFiles::folderProblem(m_folder); !problem.isEmpty())
        return {Outcome::Failed, problem + notSaved, {}};
    const Lines lines{line(scoreLine), line(nameLine)};
    if (journal(lines).size() > journalCap)
        return {
            Outcome::Failed, cannotWrite(namePath(), QStringLiteral("il nome è troppo lungo")), {}};
    const FolderLock lock(lockPath(), m_lockWaitMs);
    if (lock.state() == FolderLock::State::Busy)
        return {Outcome::Failed,
                cannotWrite(scorePath(), QStringLiteral("un'altra copia del gioco lo sta usando")),
                {}};
    if (lock.state() == FolderLock::State::Failed)
        return {Outcome::Failed,
                FolderFiles::inTheWay(lockPath()).isEmpty()
                    ? QStringLiteral("Non ho potuto registrare il record nella cartella %1: %2.")
                          .arg(m_folder, lock.problem())
                    : cannotWrite(lockPath(), lock.problem()),
                {}};
    reached(Step::Locked);

    // A save cut short by another copy is finished first, so the decision sees a whole pair.
    if (QString problem = completeJournal(); !problem.isEmpty())
        return {Outcome::Failed, problem + notSaved, {}};
    // Another copy may have saved a record meanwhile: a lower score does not overwrite it.
    const FolderFiles::Bytes oldScore = FolderFiles::read(scorePath(), readCap);
    if (oldScore.problem.isEmpty() &&
        NumberText::numberValue(text(oldScore)) >= NumberText::numberValue(scoreLine))
        return {Outcome::BeatenMeanwhile,
                {},
                {text(oldScore), text(FolderFiles::read(namePath(), readCap))}};

    const QString problem =
        writePair(journal(lines), lines.score, lines.name,
                  oldScore.problem.isEmpty() ? std::optional(oldScore.bytes) : std::nullopt);
    if (!problem.isEmpty())
        return {Outcome::Failed, problem, {}};
    return {Outcome::Written, {}, {}};
}
