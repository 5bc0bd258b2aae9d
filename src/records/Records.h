#pragma once

#include "records/RecordStore.h"

#include <QString>

class Game;

// The record shown at start-up, and the exit sequence that may write a new one.
class Records {
public:
    explicit Records(Game& game)
        : m_game(game) {}

    // The whole file, line ends included (up to RecordStore::readCap bytes).
    RecordStore::Read Leggifiletxt(const QString& nomefile) const;
    // Start-up: create missing record files, then show the record in lblpunti and lblnome.
    void showRecord();
    // The exit sequence: farewell, the record decision, and the end of the program.
    [[noreturn]] void cmdExit_Click();

private:
    RecordStore store() const;

    Game& m_game;
    bool m_exiting = false;
};
