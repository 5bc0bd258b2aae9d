// libFuzzer target: any bytes in a record file, read through to the record's number; and in a
// class register, whose every match read is written again and read back the same.
//   ./quickstart fuzz   builds it with clang and runs it for a while
#include "platform/FolderFiles.h"
#include "platform/NumberText.h"
#include "records/ClassRegister.h"
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
    const FolderFiles::Bytes read = FolderFiles::read(file.fileName(), RecordStore::readCap);
    const QString text = RecordStore::decode(read.bytes, read.cut);
    if (!read.problem.isEmpty() || text.size() > RecordStore::readCap)
        __builtin_trap();
    const double value = NumberText::numberValue(text);
    if (std::isnan(value))
        __builtin_trap();
    for (const ClassRegister::Match& match : ClassRegister::parse(bytes).matches) {
        const ClassRegister::Read again = ClassRegister::parse(ClassRegister::line(match));
        if (again.malformed != 0 || again.matches.size() != 1 ||
            ClassRegister::line(again.matches[0]) != ClassRegister::line(match))
            __builtin_trap();
    }
    return 0;
}
