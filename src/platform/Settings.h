#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Every setting of the game, read once at start-up: the teacher's system-wide zenobra.conf,
// which fixes a choice for every child, over the player's own. A value that cannot be used is
// told in `problems`, naming the key, the value and what is done instead.
struct Settings {
    // The lessons of the divisibility unit, by their divisors, and the numbers' paces in ms.
    static constexpr std::array<int, 11> lessons{2, 3, 4, 5, 6, 9, 10, 11, 12, 15, 25};
    static constexpr int standardLesson = 15;
    static constexpr int racePace = 1300;

    template <typename Value> struct Choice {
        Value value;
        bool fixed = false; // by the teacher: no child can change it
    };

    bool teacherUnread = false;    // the teacher's file is there but could not be read
    std::optional<QString> folder; // the class folder as written, when the teacher names one
    Choice<int> lesson{standardLesson};
    bool explanations = true;
    bool registerOn = true;
    bool reviewOn = true;      // the review is offered, and each child's history kept
    bool reviewAlways = false; // every match is a review
    Choice<bool> practice{false};
    Choice<int> pace{racePace};
    Choice<bool> readAloud{false}; // the boxes read aloud
    QStringList problems;

    // "section/key" to the value as written.
    using Values = QMap<QString, QString>;
    // A file as a teacher writes it: [sections], key=value, comments after # or ; at the start
    // of a line or after a space; values are taken as written, commas and all.
    static Values readConf(const QByteArray& text);
    // Unread, the teacher's file may have fixed a lesson or turned the register off: the
    // standard lesson is played, fixed, and no register is kept.
    static Settings parse(const Values& teacher, const Values& player, bool teacherUnread = false);
    // Yes or no, in Italian or English, in any case, spaces around: sì si yes vero true 1 on,
    // no falso false 0 off.
    static std::optional<bool> yesNo(const QString& value);
};
