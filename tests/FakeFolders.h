#pragma once

#include "platform/SystemFolders.h"

#include <QTemporaryDir>

class FakeFolders final : public SystemFolders {
public:
    QString applicationFolder() override { return application; }
    QString application = QStringLiteral("/opt/zenobra");
    QString systemDir() override { return problem.isEmpty() ? dir.path() : QString(); }
    QString systemDirProblem() const override { return problem; }
    QString problem; // then no folder
    const Settings& settings() override { return config; }
    Settings config;
    void rememberLesson(int divisor) override { remembered = QString::number(divisor); }
    void rememberMatch(bool practice, const QString& pace) override {
        remembered = QStringLiteral("%1 %2").arg(practice ? "yes" : "no", pace);
    }
    void rememberReadAloud(bool on) override { remembered = on ? "voice" : "silent"; }
    QString remembered;
    QString loginName() override { return QStringLiteral("alunno"); }
    QString ownFolder() override { return ownPath.isNull() ? own.path() : ownPath; }
    QString ownPath; // another game's, or "" for none
    QTemporaryDir dir, own;
};
