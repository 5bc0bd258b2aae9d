#pragma once

#include <QCollator>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QTime>

// The class register: one line for each match played, appended to registro.csv in the record's
// folder, for the teacher to read here or in a spreadsheet. Semicolons and a byte-order mark,
// so that a spreadsheet set up for Italy splits the columns and reads the accents right.
namespace ClassRegister {

enum class Ending { Exit, TimeUp, NewMatch, WindowClosed };
// A race keeps the clock and the record; practice and review keep neither.
enum class Kind { Race, Practice, Review };

struct Match {
    QDate date;
    QTime time;
    QString user; // the login
    QString name; // as typed
    int lesson = 15;
    Kind kind = Kind::Race;
    int score = 0;
    int right = 0;
    int wrong = 0;
    QList<int> wrongNumbers; // in the order clicked
    Ending ending = Ending::Exit;
    int seconds = 0;
    bool record = false;
    QList<int> letPass{}; // multiples that went out of sight unclicked; lines of old: none
    int child = -1;       // in a register read: the same number for the same child
};

// The folder's file, and what a folder without one gets first: the mark and the header.
QString path(const QString& folder);
extern const QByteArray header;

// The line of a match, CR LF ended.
QByteArray line(const Match& match);
// Appends the match's line whole under the folder's lock: "" or what went wrong, for the player.
QString append(const QString& folder, const Match& match);

// Takes every line of one child out of the register, under the folder's lock, leaving every
// other byte as it was, and the file's permissions: how many lines went, or what kept them.
struct Erased {
    int lines = 0;
    QString problem;
};
Erased erase(const QString& path, const QString& user, const QString& name);
// The school year of a day: "2026-2027" from September to August.
QString schoolYear(const QDate& day);
// Puts the register aside as registro-2026-2027.csv beside it, for a new one to begin: the
// path it now has, or "" and the problem.
std::pair<QString, QString> closeYear(const QString& path, const QDate& today);

struct Read {
    QList<Match> matches; // in the file's order
    int malformed = 0;    // lines that are no match, skipped
    QString problem;      // the register could not be read: why, for the teacher
};
// A whole register; a last line without its end is one being written, and is left out.
Read read(const QString& path);
Read parse(const QByteArray& bytes);

// What the teacher's table shows: a row for each child and lesson.
struct Row {
    int child = -1;
    QString name; // as typed last
    QString user;
    int lesson = 0;
    Kind kind = Kind::Race; // each kind a row of its own
    int matches = 0;
    int best = 0;
    int last = 0;
    int wrong = 0;
    QList<int> wrongNumbers;              // all of them, in the order of the matches
    int letPass = 0;                      // multiples let pass
    QList<std::pair<int, int>> mostWrong; // number and times, most often first, at most three
};
struct Filter {
    int lesson = 0; // 0: every lesson
    QDate from;     // null: no bound
    QDate to;
};
bool accepts(const Filter& filter, const Match& match);
// The rows of a register read, by name, then login, then lesson, races first.
QList<Row> summary(const QList<Match>& matches, const Filter& filter);
// Names as a teacher orders them: "Luca 2" before "Luca 10", "anna" beside "Anna".
QCollator nameOrder();
// A row's figures as the table writes them: "1,5"; "47 (3 volte), 52 (1 volta)".
QString wrongPerMatch(const Row& row);
QString mostWrongText(const QList<std::pair<int, int>>& mostWrong);
// "gara", "allenamento", "ripasso": the register's word for a kind of match.
QByteArray kindName(Kind kind);
// A text as a field of the register's CSV: quoted where a spreadsheet would split it, an
// apostrophe first where a spreadsheet would run it as a formula.
QByteArray csvField(const QString& text);

} // namespace ClassRegister
