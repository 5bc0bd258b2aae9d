#pragma once

#include "platform/Settings.h"

#include <QString>

// The folders the game reads and writes, and the settings it finds there.
class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    // The folder that holds the program file, without a trailing separator.
    virtual QString applicationFolder() = 0;
    // Where the record lives; created when missing. "" when there is none.
    virtual QString systemDir() = 0;
    // Why there is none, in words for the player.
    virtual QString systemDirProblem() const = 0;
    // Every setting, as read once.
    virtual const Settings& settings() = 0;
    // The player's own choices, kept for the next start.
    virtual void rememberLesson(int divisor) = 0;
    virtual void rememberMatch(bool practice, const QString& pace) = 0;
    virtual void rememberReadAloud(bool on) = 0;
    // Who is logged in, as the system knows it.
    virtual QString loginName() = 0;
    // The child's own folder, for what only the child may read: made when missing, and never a
    // folder that others may enter. "" when there is none.
    virtual QString ownFolder() = 0;
};

// The program's own folder, and the record's: the class folder that the system-wide setting
// zenobra/zenobra.conf ([record] folder=...) names in $XDG_CONFIG_DIRS, else the per-user
// data folder (XDG_DATA_HOME honoured).
class StandardFolders final : public SystemFolders {
public:
    QString applicationFolder() override;
    QString systemDir() override;
    QString systemDirProblem() const override { return m_problem; }
    const Settings& settings() override;
    void rememberLesson(int divisor) override;
    void rememberMatch(bool practice, const QString& pace) override;
    void rememberReadAloud(bool on) override;
    QString loginName() override;
    QString ownFolder() override;

private:
    QString m_problem;
    std::optional<Settings> m_settings;
};
