#include "records/RecordStore.h"

#include "platform/NumberText.h"
#include "records/RecordFiles.h"
#include "records/RecordLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QThread>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray journalMagic = QByteArrayLiteral("zenobra-record 1");

const QString anotherCopySaving =
    QStringLiteral("Non riesco a leggere il record: un'altra copia del gioco lo sta salvando.");

QString cannotWrite(const QString& path, const QString& why) {
    return QStringLiteral("Non ho potuto registrare il record nel file %1: %2.")
        .arg(RecordStore::shown(path), why);
}

QString cannotRead(const QString& path, const QString& why) {
    return QStringLiteral("Non riesco a leggere il record dal file %1: %2.")
        .arg(RecordStore::shown(path), why);
}

QString cannotCreate(const QString& path, const QString& why) {
    return QStringLiteral("Non riesco a creare il file del record %1: %2.")
        .arg(RecordStore::shown(path), why);
}

QString cannotLock(const QString& path, const QString& why) {
    return QStringLiteral("Non potrò registrare un nuovo record: il file %1 non si può usare, %2.")
        .arg(RecordStore::shown(path), why);
}

// The folder itself, named as the player or the teacher knows it. "" when it can be used.
QString folderProblem(const QString& folder) {
    struct stat status {};
    const QString shown = RecordStore::shown(folder);
    if (::stat(QFile::encodeName(shown).constData(), &status) != 0)
        return QStringLiteral("Non trovo la cartella del record %1.").arg(shown);
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("La cartella del record %1 non è una cartella.").arg(shown);
    if (::access(QFile::encodeName(folder).constData(), R_OK | X_OK) != 0)
        return QStringLiteral("Non ho il permesso di leggere la cartella del record %1.")
            .arg(shown);
    return {};
}

struct Lines {
    QByteArray score;
    QByteArray name;
};

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

} // namespace

const QString RecordStore::notSaved = QStringLiteral(" Il record non è stato registrato.");

RecordStore::RecordStore(QString windir, Faults* faults, int lockWaitMs)
    : m_windir(std::move(windir))
    , m_faults(faults)
    , m_lockWaitMs(lockWaitMs) {}

QString RecordStore::decode(const QByteArray& bytes, bool cut) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(cut ? withoutSplitCharacter(bytes) : bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QString RecordStore::shown(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

RecordStore::Read RecordStore::Leggifiletxt(const QString& nomefile) {
    const RecordFiles::Bytes file = RecordFiles::read(nomefile, readCap);
    if (!file.why.isEmpty())
        return {{}, cannotRead(nomefile, file.why)};
    return {decode(file.bytes, file.cut), {}};
}

QString RecordStore::writeWhole(const QString& path, const QByteArray& bytes,
                                std::optional<Step> staged) const {
    const QString why = RecordFiles::replace(path, bytes, RecordFiles::fileMode(m_windir), [&] {
        if (staged)
            reached(*staged);
    });
    return why.isEmpty() ? QString() : cannotWrite(path, why);
}

void RecordStore::syncFolder() const {
    RecordFiles::syncFolder(m_windir);
    reached(Step::FolderSynced);
}

void RecordStore::removeLitter() const {
    const QDir folder(m_windir);
    for (const QString& name : folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System))
        if (RecordFiles::isOurTemporary(name))
            ::unlink(QFile::encodeName(folder.filePath(name)).constData());
}

QString RecordStore::completeJournal() const {
    if (const QString stands = RecordFiles::inTheWay(journalPath()); !stands.isEmpty())
        return cannotRead(journalPath(), stands);
    if (!QFileInfo::exists(journalPath()))
        return {};
    if (const auto lines = parseJournal(RecordFiles::read(journalPath(), journalCap).bytes)) {
        if (QString error = writeWhole(scorePath(), lines->score); !error.isEmpty())
            return error;
        if (QString error = writeWhole(namePath(), lines->name); !error.isEmpty())
            return error;
        syncFolder();
    }
    ::unlink(QFile::encodeName(journalPath()).constData());
    syncFolder();
    return {};
}

RecordStore::Loaded RecordStore::readBoth() const {
    const Read score = Leggifiletxt(scorePath());
    const Read name = Leggifiletxt(namePath());
    if (!score.ok() || !name.ok())
        return {{}, score.ok() ? name.error : score.error};
    return {{score.text, name.text}, {}};
}

RecordStore::Loaded RecordStore::readUnlocked() const {
    // Another copy may be saving: the pair that its journal says is coming, else a pair that
    // stood whole on disk, with no journal, from before the first read to after the last.
    for (int attempt = 0; attempt < 50; ++attempt, QThread::msleep(10)) {
        const RecordFiles::Bytes pending = RecordFiles::read(journalPath(), journalCap);
        if (const auto coming = parseJournal(pending.bytes))
            return {{decode(coming->score), decode(coming->name)}, {}};
        if (!RecordFiles::nothingAt(journalPath()))
            continue;
        const RecordFiles::Bytes score = RecordFiles::read(scorePath(), readCap);
        const RecordFiles::Bytes name = RecordFiles::read(namePath(), readCap);
        if (!score.why.isEmpty())
            return {{}, cannotRead(scorePath(), score.why)};
        if (!name.why.isEmpty())
            return {{}, cannotRead(namePath(), name.why)};
        if (RecordFiles::nothingAt(journalPath()) && RecordFiles::stillAt(scorePath(), score) &&
            RecordFiles::stillAt(namePath(), name))
            return {{decode(score.bytes, score.cut), decode(name.bytes, name.cut)}, {}};
    }
    return {{}, anotherCopySaving};
}

RecordStore::Loaded RecordStore::load() const {
    if (QString problem = folderProblem(m_windir); !problem.isEmpty())
        return {{}, problem};
    const RecordLock lock(lockPath(), m_lockWaitMs, RecordFiles::fileMode(m_windir));
    if (lock.state() == RecordLock::State::Busy)
        return {readUnlocked().record, anotherCopySaving};
    if (lock.state() == RecordLock::State::Failed) {
        // A folder we may only read is no news; anything else stands in the way of the next
        // record.
        Loaded loaded = readUnlocked();
        if (loaded.problem.isEmpty() && !RecordFiles::inTheWay(lockPath()).isEmpty())
            loaded.problem = cannotLock(lockPath(), lock.why());
        return loaded;
    }
    if (QString error = completeJournal(); !error.isEmpty())
        return {{}, error};
    removeLitter();
    for (const QString& path : {scorePath(), namePath()})
        if (QString why = RecordFiles::createIfMissing(path, RecordFiles::fileMode(m_windir));
            !why.isEmpty())
            return {{}, cannotCreate(path, why)};
    return readBoth();
}

RecordStore::Saved RecordStore::save(const QString& scoreLine, const QString& nameLine) const {
    using Outcome = Saved::Outcome;
    if (QString problem = folderProblem(m_windir); !problem.isEmpty())
        return {Outcome::Failed, problem + notSaved, {}};
    const Lines lines{line(scoreLine), line(nameLine)};
    if (journal(lines).size() > journalCap)
        return {
            Outcome::Failed, cannotWrite(namePath(), QStringLiteral("il nome è troppo lungo")), {}};
    const RecordLock lock(lockPath(), m_lockWaitMs, RecordFiles::fileMode(m_windir));
    if (lock.state() == RecordLock::State::Busy)
        return {Outcome::Failed,
                cannotWrite(scorePath(), QStringLiteral("un'altra copia del gioco lo sta usando")),
                {}};
    if (lock.state() == RecordLock::State::Failed)
        return {Outcome::Failed,
                RecordFiles::inTheWay(lockPath()).isEmpty()
                    ? QStringLiteral("Non ho potuto registrare il record nella cartella %1: %2.")
                          .arg(shown(m_windir), lock.why())
                    : cannotWrite(lockPath(), lock.why()),
                {}};
    reached(Step::Locked);

    // A save cut short by another copy is finished first, so the decision sees a whole pair.
    if (QString error = completeJournal(); !error.isEmpty())
        return {Outcome::Failed, error + notSaved, {}};
    // Another copy may have saved a record meanwhile: a lower score does not overwrite it.
    const RecordFiles::Bytes oldScore = RecordFiles::read(scorePath(), readCap);
    if (oldScore.why.isEmpty()) {
        const QString onDisk = decode(oldScore.bytes, oldScore.cut);
        if (NumberText::numberValue(onDisk) >= NumberText::numberValue(scoreLine))
            return {Outcome::BeatenMeanwhile, {}, {onDisk, Leggifiletxt(namePath()).text}};
    }

    if (QString error = writeWhole(journalPath(), journal(lines)); !error.isEmpty())
        return {Outcome::Failed, error, {}};
    reached(Step::JournalWritten);
    syncFolder();

    if (QString error = writeWhole(scorePath(), lines.score, Step::ScoreStaged); !error.isEmpty()) {
        ::unlink(QFile::encodeName(journalPath()).constData());
        return {Outcome::Failed, error, {}};
    }
    reached(Step::ScoreWritten);

    if (QString error = writeWhole(namePath(), lines.name, Step::NameStaged); !error.isEmpty()) {
        // Put the old score back, so the pair on disk stays the old one.
        if (oldScore.why.isEmpty() && writeWhole(scorePath(), oldScore.bytes).isEmpty())
            ::unlink(QFile::encodeName(journalPath()).constData());
        return {Outcome::Failed, error, {}};
    }
    reached(Step::NameWritten);
    syncFolder();

    ::unlink(QFile::encodeName(journalPath()).constData());
    syncFolder();
    reached(Step::Done);
    return {Outcome::Written, {}, {}};
}
