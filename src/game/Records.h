#pragma once

#include "records/RecordStore.h"

#include <QString>

class Game;

// The record shown at start-up, and the exit sequence that may write a new one.
class Records {
public:
    explicit Records(Game& game)
        : m_game(game) {}

    // Start-up: the record files, created when missing, shown in lblpunti and lblnome.
    void showRecord();
    // The exit sequence: farewell, the record decision, and the end of the program.
    [[noreturn]] void cmdExit_Click();

    // What the player is told when the record on disk is as high as the score: saved during
    // the match by another copy, or there all along when start-up could not read it.
    static QString beatenMeanwhile(const RecordStore::Record& higher);
    static QString higherThanTheScore(const RecordStore::Record& higher);

private:
    RecordStore store() const;

    Game& m_game;
    bool m_exiting = false;
    bool m_recordShown = false; // start-up read the pair whole
};
