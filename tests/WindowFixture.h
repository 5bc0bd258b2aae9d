#pragma once

#include "FakePlatform.h"
#include "desktop/Tavola.h"

#include <QTest>

// The real window, with scripted boxes and sounds.
struct WindowFixture : ScriptedServices {
    WindowFixture()
        : tavola({dialogs, sound, random, folders, time, voice}) {}

    void start(const QString& name = QStringLiteral("Anna")) {
        dialogs.type(name);
        tavola.start();
    }
    Game& game() { return tavola.game(); }
    QWidget* widget(const char* name) { return tavola.controlWidget(QString::fromLatin1(name)); }
    // Clicks where the player would: on whatever visible control lies at that point.
    void clickAt(QPoint point) {
        QWidget* surface = tavola.surface();
        QWidget* target = surface->childAt(point);
        if (!target)
            target = surface;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(surface, point));
    }

    Tavola tavola;
};
