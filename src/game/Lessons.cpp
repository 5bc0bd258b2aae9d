#include "game/Lessons.h"

#include "game/TavolaDesign.h"
#include "records/RecordStore.h"

#include <algorithm>

namespace Lessons {

namespace {

struct Words {
    const char* criterion; // after "Un numero è divisibile per N se "
    const char* example;   // after "Es "
};

static_assert(standard == RecordStore::plainNamesLesson,
              "the game as it always was keeps its files");

// In the order of the divisors.
constexpr std::array<Words, divisors.size()> words{{
    {"la sua ultima cifra è pari: 0, 2, 4, 6 o 8",
     "1358 è divisibile per 2 ed infatti la sua ultima cifra, 8, è pari"},
    {"la somma delle sue cifre è divisibile per 3",
     "1365 è divisibile per 3 ed infatti la somma delle sue cifre è 15, che è divisibile per 3"},
    {"il numero formato dalle sue ultime due cifre è divisibile per 4",
     "1316 è divisibile per 4 ed infatti le sue ultime due cifre formano 16, che è divisibile "
     "per 4"},
    {"la sua ultima cifra è 0 o 5", "1365 è divisibile per 5 ed infatti la sua ultima cifra è 5"},
    {"è divisibile sia per 2 che per 3",
     "1362 è divisibile per 6 ed infatti è divisibile sia per 2, essendo pari, e sia per 3, "
     "essendo la somma delle cifre 12"},
    {"la somma delle sue cifre è divisibile per 9",
     "1368 è divisibile per 9 ed infatti la somma delle sue cifre è 18, che è divisibile per 9"},
    {"la sua ultima cifra è 0", "1360 è divisibile per 10 ed infatti la sua ultima cifra è 0"},
    {"la somma delle cifre di posto dispari e quella delle cifre di posto pari, contando da "
     "destra, sono uguali o differiscono di un multiplo di 11",
     "1364 è divisibile per 11 ed infatti le cifre di posto dispari, 4 e 3, e quelle di posto "
     "pari, 6 e 1, hanno la stessa somma, 7"},
    {"è divisibile sia per 3 che per 4",
     "1368 è divisibile per 12 ed infatti è divisibile sia per 3, essendo la somma delle cifre "
     "18, e sia per 4, essendo 68 divisibile per 4"},
    {"è divisibile sia per 3 che per 5",
     "1365 è divisibile per 15 ed infatti è divisibile  sia per 3, essendo la somma delle cifre "
     "15, e sia per 5"},
    {"le sue ultime due cifre sono 00, 25, 50 o 75",
     "1375 è divisibile per 25 ed infatti le sue ultime due cifre sono 75"},
}};

const Words& wordsOf(int divisor) {
    return words[std::ranges::find(divisors, divisor) - divisors.begin()];
}

// "del 3", "dell'11": the article before the number as it is read aloud.
QString ofThe(int divisor) {
    return (divisor == 11 ? QStringLiteral("dell'") : QStringLiteral("del ")) +
           QString::number(divisor);
}

} // namespace

QString name(int divisor) {
    return QStringLiteral("Multipli ") + ofThe(divisor);
}

QString title(int divisor) {
    const QString window = QString::fromLatin1(TavolaDesign::caption);
    return divisor == standard ? window : window + " - " + name(divisor);
}

QString hint(int divisor, const QString& entry) {
    if (entry == u"Ciao")
        return QStringLiteral("Ciao campione, mi raccomando colpisci solo i multipli ") +
               ofThe(divisor);
    if (entry == u"d")
        return QStringLiteral("Un numero è divisibile per %1 se %2")
            .arg(divisor)
            .arg(QString::fromUtf8(wordsOf(divisor).criterion));
    if (entry == u"h")
        return QStringLiteral("Es ") + QString::fromUtf8(wordsOf(divisor).example);
    return {};
}

int remainder(int designed, int divisor) {
    return (designed - 1) % (divisor - 1) + 1;
}

} // namespace Lessons
