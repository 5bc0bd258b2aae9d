#include "records/RecordStore.h"

#include "platform/NumberText.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace {

const QByteArray journalMagic = QByteArrayLiteral("zenobra-record 1");

const QString noRecordFolder = QStringLiteral("Non riesco a creare la cartella del record.");
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

// Only regular files are opened: a FIFO or a device in a record file's place would block
// or never end.
QString notAFile(const QString& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path.toStdString(), error);
    if (error)
        return {};
    if (std::filesystem::is_directory(status))
        return QStringLiteral("al suo posto c'è una cartella");
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return QStringLiteral("non è un file normale");
    return {};
}

struct Bytes {
    QByteArray bytes;
    QString error;
};

Bytes readBytes(const QString& path) {
    if (const QString why = notAFile(path); !why.isEmpty())
        return {{}, cannotRead(path, why)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, cannotRead(path, QStringLiteral("non si apre (%1)").arg(file.errorString()))};
    QByteArray bytes = file.read(RecordStore::readCap);
    if (file.error() != QFileDevice::NoError)
        return {
            {},
            cannotRead(path,
                       QStringLiteral("la lettura non è riuscita (%1)").arg(file.errorString()))};
    return {bytes, {}};
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

} // namespace

RecordStore::RecordStore(QString windir, Faults* faults, int lockWaitMs)
    : m_windir(std::move(windir))
    , m_faults(faults)
    , m_lockWaitMs(lockWaitMs) {}

QString RecordStore::decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QString RecordStore::shown(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

RecordStore::Read RecordStore::Leggifiletxt(const QString& nomefile) {
    const Bytes file = readBytes(nomefile);
    return {decode(file.bytes), file.error};
}

QString RecordStore::writeWhole(const QString& path, const QByteArray& bytes,
                                std::optional<Step> staged) const {
    if (const QString why = notAFile(path); !why.isEmpty())
        return cannotWrite(path, why);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(path, QStringLiteral("non riesco a creare un file nella cartella (%1)")
                                     .arg(file.errorString()));
    // On a full disk write() may only fill a buffer and commit() still succeed with an empty
    // file, so every byte is checked and flushed before the rename.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why =
            QStringLiteral("la scrittura non è riuscita, forse il disco è pieno (%1)")
                .arg(file.errorString());
        file.cancelWriting();
        return cannotWrite(path, why);
    }
    if (staged)
        reached(*staged);
    if (!file.commit())
        return cannotWrite(path, QStringLiteral("non riesco a rinominare il file scritto al posto "
                                                "del vecchio (%1)")
                                     .arg(file.errorString()));
    return {};
}

void RecordStore::syncFolder() const {
    // A rename lives in the folder: without this a power cut could still undo it.
    const int folder = ::open(QFile::encodeName(m_windir).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    reached(Step::FolderSynced);
}

void RecordStore::removeLitter() const {
    // What a save killed before its rename leaves: "aquarvel.txt.Ab12Cd" and the like.
    static const QRegularExpression temporary(QStringLiteral(
        "^(aquarvel\\.txt|quarvel\\.txt|zenobra-record\\.journal)\\.[A-Za-z0-9]{6}$"));
    const QDir folder(m_windir);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (temporary.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
}

QString RecordStore::completeJournal() const {
    if (!QFile::exists(journalPath()))
        return {};
    if (const auto lines = parseJournal(readBytes(journalPath()).bytes)) {
        if (QString error = writeWhole(scorePath(), lines->score); !error.isEmpty())
            return error;
        if (QString error = writeWhole(namePath(), lines->name); !error.isEmpty())
            return error;
        syncFolder();
    }
    QFile::remove(journalPath());
    syncFolder();
    return {};
}

RecordStore::Loaded RecordStore::readBoth() const {
    const Read score = Leggifiletxt(scorePath());
    reached(Step::ScoreRead);
    const Read name = Leggifiletxt(namePath());
    if (!score.ok() || !name.ok())
        return {{}, score.ok() ? name.error : score.error};
    return {{score.text, name.text}, {}};
}

RecordStore::Loaded RecordStore::whileAnotherCopySaves() const {
    // The pair that the journal says is coming, else the pair on disk if no save began or
    // ended while it was read, else nothing.
    if (const auto coming = parseJournal(readBytes(journalPath()).bytes))
        return {{decode(coming->score), decode(coming->name)}, anotherCopySaving};
    if (!QFile::exists(journalPath())) {
        const Loaded onDisk = readBoth();
        if (onDisk.problem.isEmpty() && !QFile::exists(journalPath()))
            return {onDisk.record, anotherCopySaving};
    }
    return {{}, anotherCopySaving};
}

RecordStore::Loaded RecordStore::load() const {
    if (m_windir.isEmpty())
        return {{}, noRecordFolder};
    QLockFile lock(lockPath());
    if (!lock.tryLock(m_lockWaitMs) && lock.error() == QLockFile::LockFailedError)
        return whileAnotherCopySaves();
    // Without a lock file (a folder we may only read) nobody saves here: read all the same.
    if (lock.isLocked()) {
        if (QString error = completeJournal(); !error.isEmpty())
            return {{}, error};
        removeLitter();
    }
    for (const QString& path : {scorePath(), namePath()}) {
        if (QFile::exists(path))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return {{}, cannotCreate(path, file.errorString())};
    }
    return readBoth();
}

RecordStore::Saved RecordStore::save(const QString& scoreLine, const QString& nameLine) const {
    using Outcome = Saved::Outcome;
    if (m_windir.isEmpty())
        return {Outcome::Failed, noRecordFolder, {}};
    QLockFile lock(lockPath());
    if (!lock.tryLock(m_lockWaitMs))
        return {Outcome::Failed,
                cannotWrite(scorePath(),
                            lock.error() == QLockFile::LockFailedError
                                ? QStringLiteral("un'altra copia del gioco lo sta usando")
                                : QStringLiteral("non riesco a creare %1 (disco pieno o cartella "
                                                 "protetta)")
                                      .arg(shown(lockPath()))),
                {}};
    reached(Step::Locked);

    // Another copy may have saved a record meanwhile: a lower score does not overwrite it.
    const Bytes oldScore = readBytes(scorePath());
    const Bytes oldName = readBytes(namePath());
    if (oldScore.error.isEmpty() &&
        NumberText::numberValue(decode(oldScore.bytes)) >= NumberText::numberValue(scoreLine))
        return {Outcome::BeatenMeanwhile, {}, {decode(oldScore.bytes), decode(oldName.bytes)}};

    const Lines lines{line(scoreLine), line(nameLine)};
    if (QString error = writeWhole(journalPath(), journal(lines)); !error.isEmpty())
        return {Outcome::Failed, error, {}};
    reached(Step::JournalWritten);
    syncFolder();

    if (QString error = writeWhole(scorePath(), lines.score, Step::ScoreStaged); !error.isEmpty()) {
        QFile::remove(journalPath());
        return {Outcome::Failed, error, {}};
    }
    reached(Step::ScoreWritten);

    if (QString error = writeWhole(namePath(), lines.name, Step::NameStaged); !error.isEmpty()) {
        // Put the old score back, so the pair on disk stays the old one.
        if (oldScore.error.isEmpty() && writeWhole(scorePath(), oldScore.bytes).isEmpty())
            QFile::remove(journalPath());
        return {Outcome::Failed, error, {}};
    }
    reached(Step::NameWritten);
    syncFolder();

    QFile::remove(journalPath());
    syncFolder();
    reached(Step::Done);
    return {Outcome::Written, {}, {}};
}
