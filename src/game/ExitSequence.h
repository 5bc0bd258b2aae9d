#pragma once

#include "records/ClassRegister.h"
#include "records/RecordStore.h"

#include <QString>

class Game;

// The record shown at start-up, the exit sequence that may write a new one, and the line that
// each match leaves in the class register.
class ExitSequence {
public:
    explicit ExitSequence(Game& game)
        : m_game(game) {}

    // Start-up: the record files, created when missing, shown in lblpunti and lblnome.
    void showRecord();
    // The exit sequence: farewell, the record decision, the register, and the end of the program.
    [[noreturn]] void cmdExit_Click(ClassRegister::Ending ending = ClassRegister::Ending::Exit);
    // The register counts the match from here.
    void matchBegins();
    // A match left without the exit sequence: its line, and a problem told.
    void matchLeft(ClassRegister::Ending ending);

    // What the player is told when the record on disk is as high as the score: saved during
    // the match by another copy, or there all along when start-up could not read it.
    static QString beatenMeanwhile(const RecordStore::Record& higher);
    static QString higherThanTheScore(const RecordStore::Record& higher);

private:
    RecordStore store() const;
    // The line of the match under way, once: "" or what kept it out of the register.
    QString registerMatch(ClassRegister::Ending ending, bool record);

    Game& m_game;
    bool m_exiting = false;
    bool m_recordShown = false; // start-up read the pair whole
};
