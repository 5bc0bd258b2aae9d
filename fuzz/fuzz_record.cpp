// libFuzzer target: any bytes in a record file, read through to the record's number.
//   ./quickstart fuzz   builds it with clang and runs it for a while
#include "platform/NumberText.h"
#include "platform/RecordFiles.h"
#include "records/RecordStore.h"

#include <QByteArray>
#include <QTemporaryFile>

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static QTemporaryFile file;
    if (!file.isOpen() && !file.open())
        return 0;
    file.resize(0);
    file.seek(0);
    file.write(bytes);
    file.flush();
    const RecordFiles::Bytes read = RecordFiles::read(file.fileName(), RecordStore::readCap);
    const QString text = RecordStore::decode(read.bytes, read.cut);
    if (!read.problem.isEmpty() || text.size() > RecordStore::readCap)
        __builtin_trap();
    const double value = NumberText::numberValue(text);
    if (std::isnan(value))
        __builtin_trap();
    return 0;
}
