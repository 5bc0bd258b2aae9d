#pragma once

#include "records/ClassRegister.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

// The game window's own variables. They start at zero or empty and live as long as the
// program: a new match does not clear them.
struct GameState {
    qint16 num1 = 0;
    qint16 num2 = 0;
    qint16 nfile = 0;
    QString riga;
    qint16 attesa = 0;
    qint16 ore = 0;
    qint16 minuti = 0;
    float secondi = 0.0f;
    qint16 restanti = 0;
    QString windir;
    qint16 numpari2 = 0;
    qint16 ndispari = 0;
    qint16 ndispari1 = 0;
    qint16 ndispari2 = 0;
    qint16 punti = 0;
    qint16 contatore = 0;
    // The lesson, which the design does not have: its multiples are the right targets. Fixed
    // by the teacher, or chosen.
    qint16 divisor = 15;
    bool lessonFixed = false;
    bool explanations = true; // a wrong hit's warning says why, unless the teacher says no
    // How the match is played: practice (no clock, no record), and the numbers' pace in ms. A
    // match at a slower pace is a practice match, so that records stay comparable.
    bool practice = false;
    bool practiceFixed = false;
    qint16 pace = 1300;
    bool paceFixed = false;
    // A review: a practice match that brings back the numbers the child fell for.
    bool review = false;
    bool reviewFixed = false;
    bool reviewOn = true;
    int reviewDue = 0; // numbers due today in the lesson's history
    // The warnings, the greeting and the farewell read aloud too.
    bool readAloud = false;
    bool readAloudFixed = false;
    bool isPractice() const { return practice || review || pace != 1300; }
    // The kind chosen in the menu, and the kind played: a race at a slower pace is a practice.
    ClassRegister::Kind chosenKind() const {
        using Kind = ClassRegister::Kind;
        return review ? Kind::Review : practice ? Kind::Practice : Kind::Race;
    }
    ClassRegister::Kind kind() const {
        using Kind = ClassRegister::Kind;
        return chosenKind() == Kind::Race && pace != 1300 ? Kind::Practice : chosenKind();
    }
    // What the class register keeps of the match under way; matchStart is null between matches.
    QDateTime matchStart;
    int rightHits = 0;
    QList<int> wrongNumbers; // one a wrong hit
    QList<int> letPass;      // multiples that went out of sight without a click
    qint64 awayMs = 0;       // in boxes and pauses: not played
};
