#include "records/RecordStore.h"

#include "platform/NumberText.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <filesystem>

namespace {

constexpr int lockWaitMs = 5000;
const QByteArray journalMagic = QByteArrayLiteral("zenobra-record 1");

QString reason(const QFileDevice& file) {
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("permesso negato");
    case QFileDevice::ResourceError:
    case QFileDevice::WriteError:
        return QStringLiteral("il disco è pieno o non si può scrivere (%1)")
            .arg(file.errorString());
    case QFileDevice::ReadError:
        return QStringLiteral("il file non si può leggere (%1)").arg(file.errorString());
    default:
        return QStringLiteral("il file non si può aprire (%1)").arg(file.errorString());
    }
}

const QString noRecordFolder = QStringLiteral("Non riesco a creare la cartella del record.");

QString cannotWrite(const QString& path, const QString& why) {
    return QStringLiteral("Non ho potuto registrare il record nel file %1: %2.").arg(path, why);
}

QString cannotRead(const QString& path, const QString& why) {
    return QStringLiteral("Non riesco a leggere il record dal file %1: %2.").arg(path, why);
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
        return {{}, cannotRead(path, reason(file))};
    QByteArray bytes = file.read(RecordStore::readCap);
    if (file.error() != QFileDevice::NoError)
        return {{}, cannotRead(path, reason(file))};
    return {bytes, {}};
}

struct Pair {
    QByteArray score;
    QByteArray name;
};

QByteArray journal(const Pair& pair) {
    return journalMagic + '\n' + pair.score.toBase64() + '\n' + pair.name.toBase64() + '\n';
}

std::optional<Pair> parseJournal(const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() != 4 || lines[0] != journalMagic || !lines[3].isEmpty())
        return std::nullopt;
    const auto score =
        QByteArray::fromBase64Encoding(lines[1], QByteArray::AbortOnBase64DecodingErrors);
    const auto name =
        QByteArray::fromBase64Encoding(lines[2], QByteArray::AbortOnBase64DecodingErrors);
    if (!score || !name)
        return std::nullopt;
    return Pair{*score, *name};
}

} // namespace

RecordStore::RecordStore(QString windir, Faults* faults)
    : m_windir(std::move(windir))
    , m_faults(faults) {}

QString RecordStore::decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

RecordStore::Read RecordStore::read(const QString& path) {
    const Bytes file = readBytes(path);
    return {decode(file.bytes), file.error};
}

QString RecordStore::writeWhole(const QString& path, const QByteArray& bytes) {
    if (const QString why = notAFile(path); !why.isEmpty())
        return cannotWrite(path, why);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(path, reason(file));
    // On a full disk write() may only fill a buffer and commit() still succeed with an empty
    // file, so every byte is checked and flushed before the rename.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = reason(file);
        file.cancelWriting();
        return cannotWrite(path, why);
    }
    if (!file.commit())
        return cannotWrite(path, reason(file));
    return {};
}

QString RecordStore::prepare() const {
    if (m_windir.isEmpty())
        return noRecordFolder;
    QLockFile lock(lockPath());
    if (lock.tryLock(lockWaitMs) && QFile::exists(journalPath())) {
        const Bytes pending = readBytes(journalPath());
        if (const auto pair = parseJournal(pending.bytes)) {
            const QString error = writeWhole(scorePath(), pair->score);
            if (!error.isEmpty())
                return error;
            if (const QString nameError = writeWhole(namePath(), pair->name); !nameError.isEmpty())
                return nameError;
        }
        QFile::remove(journalPath());
    }
    for (const QString& path : {scorePath(), namePath()}) {
        if (const QString why = notAFile(path); !why.isEmpty())
            return cannotRead(path, why);
        QFile file(path);
        if (!file.open(QIODevice::Append))
            return QStringLiteral("Non riesco a creare il file del record %1: %2.")
                .arg(path, reason(file));
    }
    return {};
}

RecordStore::Saved RecordStore::save(const QString& scoreLine, const QString& nameLine) const {
    using Outcome = Saved::Outcome;
    if (m_windir.isEmpty())
        return {Outcome::Failed, noRecordFolder};
    QLockFile lock(lockPath());
    if (!lock.tryLock(lockWaitMs))
        return {Outcome::Failed,
                cannotWrite(scorePath(),
                            lock.error() == QLockFile::LockFailedError
                                ? QStringLiteral("un'altra copia del gioco lo sta usando")
                                : QStringLiteral("non riesco a creare %1 (disco pieno o cartella "
                                                 "protetta)")
                                      .arg(lockPath()))};
    reached(Step::Locked);

    // Another copy may have saved a record meanwhile: a lower score does not overwrite it.
    const Bytes oldScore = readBytes(scorePath());
    if (oldScore.error.isEmpty() &&
        NumberText::numberValue(decode(oldScore.bytes)) >= NumberText::numberValue(scoreLine))
        return {Outcome::BeatenMeanwhile, {}};
    const Bytes oldName = readBytes(namePath());

    const Pair pair{line(scoreLine), line(nameLine)};
    if (QString error = writeWhole(journalPath(), journal(pair)); !error.isEmpty())
        return {Outcome::Failed, error};
    reached(Step::JournalWritten);

    if (QString error = writeWhole(scorePath(), pair.score); !error.isEmpty()) {
        QFile::remove(journalPath());
        return {Outcome::Failed, error};
    }
    reached(Step::ScoreWritten);

    if (QString error = writeWhole(namePath(), pair.name); !error.isEmpty()) {
        // Put the old score back, so the pair on disk stays the old one.
        if (oldScore.error.isEmpty() && writeWhole(scorePath(), oldScore.bytes).isEmpty())
            QFile::remove(journalPath());
        return {Outcome::Failed, error};
    }
    reached(Step::NameWritten);

    QFile::remove(journalPath());
    reached(Step::Done);
    return {Outcome::Written, {}};
}
