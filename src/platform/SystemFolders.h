#pragma once

#include <QString>

// The folders the game reads and writes.
class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    // The folder that holds the program file, without a trailing separator.
    virtual QString applicationFolder() = 0;
    // Where the record lives, ending in "/"; created when missing. "" when it cannot be made.
    virtual QString systemDir() = 0;
};

// The per-user data folder (XDG_DATA_HOME honoured) and the program's own folder.
class StandardFolders final : public SystemFolders {
public:
    QString applicationFolder() override;
    QString systemDir() override;
};
