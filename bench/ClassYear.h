#pragma once

#include "records/ClassRegister.h"

#include <QRandomGenerator>

// A class of 25 over a school year, as its register holds it: `perChild` matches each, on the
// school days from Monday 14 September 2026 to Friday 4 June 2027, the even ones in the lesson of
// 15, the odd ones in the lesson of 3; the scores grow over the year.
inline QList<ClassRegister::Match> classYear(int perChild) {
    QList<QDate> days;
    for (QDate day(2026, 9, 14); day <= QDate(2027, 6, 4); day = day.addDays(1))
        if (day.dayOfWeek() <= 5)
            days.append(day);
    QRandomGenerator draw(25);
    QList<ClassRegister::Match> matches;
    for (int slot = 0; slot < perChild; ++slot)
        for (int child = 0; child < 25; ++child) {
            const int lesson = slot % 2 ? 3 : 15;
            const int wrong = draw.bounded(4);
            QList<int> wrongNumbers;
            for (int i = 0; i < wrong; ++i)
                wrongNumbers << lesson * draw.bounded(1, 40) + 1;
            const int right = slot * 40 / perChild + draw.bounded(10);
            matches.append({.date = days[slot * days.size() / perChild],
                            .time = QTime(8, 30).addSecs(slot % 20 * 360 + child * 10),
                            .user = QStringLiteral("alunno%1").arg(child + 1, 2, 10, QChar(u'0')),
                            .name = QStringLiteral("Bambino %1").arg(child + 1),
                            .lesson = lesson,
                            .kind = ClassRegister::Kind::Race,
                            .score = right - 4 * wrong,
                            .right = right,
                            .wrong = wrong,
                            .wrongNumbers = wrongNumbers,
                            .ending = ClassRegister::Ending::TimeUp,
                            .seconds = 300,
                            .record = false});
        }
    return matches;
}

inline QByteArray registerOf(const QList<ClassRegister::Match>& matches) {
    QByteArray bytes = ClassRegister::header;
    for (const ClassRegister::Match& match : matches)
        bytes += ClassRegister::line(match);
    return bytes;
}
