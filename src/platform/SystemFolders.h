#pragma once

#include <QString>

// The lesson that a setting names: the teacher's, which no child can change, else the one
// this player chose last; "" when neither names one.
struct LessonSetting {
    QString divisor;
    bool fixed = false;       // by the teacher
    bool explanations = true; // a wrong number's warning says why: the teacher's choice alone
};

// How a match is played, as the settings say: `practice` ("yes" or "no") and `pace` (seconds a
// jump: "1.3", "2" or "3"), each the teacher's when the system-wide setting names it, and then
// fixed, else this player's own; "" when neither names it.
struct MatchSetting {
    QString practice;
    bool practiceFixed = false;
    QString pace;
    bool paceFixed = false;
};

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
    virtual LessonSetting lesson() = 0;
    virtual void rememberLesson(int divisor) = 0;
    virtual MatchSetting match() = 0;
    virtual void rememberMatch(bool practice, const QString& pace) = 0;
    // The register of matches, unless the teacher turned it off ([registro] attivo=no).
    virtual bool registerOn() = 0;
    // Who is logged in, as the system knows it.
    virtual QString loginName() = 0;
};

// The program's own folder, and the record's: the class folder that the system-wide setting
// zenobra/zenobra.conf ([record] folder=...) names in $XDG_CONFIG_DIRS, else the per-user
// data folder (XDG_DATA_HOME honoured).
class StandardFolders final : public SystemFolders {
public:
    QString applicationFolder() override;
    QString systemDir() override;
    QString systemDirProblem() const override { return m_problem; }
    LessonSetting lesson() override;
    void rememberLesson(int divisor) override;
    MatchSetting match() override;
    void rememberMatch(bool practice, const QString& pace) override;
    bool registerOn() override;
    QString loginName() override;

private:
    QString m_problem;
};
