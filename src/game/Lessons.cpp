#include "game/Lessons.h"

#include "game/TavolaDesign.h"
#include "platform/NumberText.h"
#include "records/Mistakes.h"
#include "records/RecordStore.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace Lessons {

namespace {

struct Words {
    const char* criterion; // after "Un numero è divisibile per N se "
    const char* example;   // after "Es "
    bool both = false;     // the rule is "divisibile sia per … che per …", its two parts
};

static_assert(standard == RecordStore::plainNamesLesson,
              "the game as it always was keeps its files");

// In the order of the divisors.
constexpr std::array<Words, divisors.size()> words{{
    {"la sua ultima cifra è pari: 0, 2, 4, 6 o 8",
     "1358 è divisibile per 2 ed infatti la sua ultima cifra, 8, è pari"},
    {"la somma delle sue cifre è divisibile per 3",
     "1365 è divisibile per 3 ed infatti la somma delle sue cifre è 15, che è divisibile per 3"},
    {"le sue ultime due cifre sono 00 o formano un numero divisibile per 4",
     "1316 è divisibile per 4 ed infatti le sue ultime due cifre formano 16, che è divisibile "
     "per 4"},
    {"la sua ultima cifra è 0 o 5", "1365 è divisibile per 5 ed infatti la sua ultima cifra è 5"},
    {"è divisibile sia per 2 che per 3",
     "1362 è divisibile per 6 ed infatti è divisibile sia per 2, essendo pari, sia per 3, "
     "essendo la somma delle sue cifre 12, che è divisibile per 3",
     true},
    {"la somma delle sue cifre è divisibile per 9",
     "1368 è divisibile per 9 ed infatti la somma delle sue cifre è 18, che è divisibile per 9"},
    {"la sua ultima cifra è 0", "1360 è divisibile per 10 ed infatti la sua ultima cifra è 0"},
    {"la somma delle cifre di posto dispari e quella delle cifre di posto pari, contando da "
     "destra, sono uguali o differiscono di un multiplo di 11",
     "1364 è divisibile per 11 ed infatti le cifre di posto dispari, 4 e 3, e quelle di posto "
     "pari, 6 e 1, hanno la stessa somma, 7"},
    {"è divisibile sia per 3 che per 4",
     "1368 è divisibile per 12 ed infatti è divisibile sia per 3, essendo la somma delle sue "
     "cifre 18, che è divisibile per 3, sia per 4, essendo 68 divisibile per 4",
     true},
    {"è divisibile sia per 3 che per 5",
     "1365 è divisibile per 15 ed infatti è divisibile  sia per 3, essendo la somma delle cifre "
     "15, e sia per 5",
     true},
    {"le sue ultime due cifre sono 00, 25, 50 o 75",
     "1375 è divisibile per 25 ed infatti le sue ultime due cifre sono 75"},
}};

const Words& wordsOf(int divisor) {
    return words[std::ranges::find(divisors, divisor) - divisors.begin()];
}

int sum(const QList<int>& digits) {
    return std::accumulate(digits.begin(), digits.end(), 0);
}

// How the digits the rule looks at are written: plain, or marked in rich text, by weight and a
// line and never by colour alone: bold and underlined, or for the even places of 11 bold, italic
// and overlined.
struct Marks {
    bool rich = false;
    QString looked(const QString& digits) const {
        return rich ? QStringLiteral("<b><u>%1</u></b>").arg(digits) : digits;
    }
    QString evenPlace(const QString& digits) const {
        return rich ? QStringLiteral(
                          "<b><i><span style=\"text-decoration: overline\">%1</span></i></b>")
                          .arg(digits)
                    : digits;
    }
};
using Mark = QString (Marks::*)(const QString&) const;

// The digits of a number, from the right: how each is marked by the rule of `divisor`.
enum class Look { No, Looked, EvenPlace };
void look(QList<Look>& digits, int number, int divisor) {
    for (int rest = number, place = 0; rest > 0; rest /= 10, ++place) {
        Look& digit = digits[place];
        const bool looked = divisor == 3 || divisor == 9 || (divisor == 11 && place % 2 == 0) ||
                            place == 0 || ((divisor == 4 || divisor == 25) && place == 1);
        if (divisor == 11 && place % 2 == 1)
            digit = digit == Look::Looked ? digit : Look::EvenPlace;
        else if (looked)
            digit = Look::Looked;
    }
}

// "4 + 6 = 10", or "7" for a single digit, most significant first. Its spaces never break a
// line: a sum is read whole.
QString added(const QList<int>& digits, const Marks& marks = {}, Mark mark = &Marks::looked) {
    QStringList terms;
    for (int digit : digits)
        terms << (marks.*mark)(QString::number(digit));
    const QString space(QChar::Nbsp);
    return digits.size() == 1 ? terms.first()
                              : terms.join(space + u'+' + space) + space + u'=' + space +
                                    QString::number(sum(digits));
}

// Why `number` fails the simple criterion of `divisor`, in the Help's own words.
QString fails(int number, int divisor, const Marks& m) {
    const int last = number % 10;
    const QString lastTwo = QStringLiteral("%1").arg(number % 100, 2, 10, QLatin1Char('0'));
    QList<int> digits, oddPlaces, evenPlaces; // places counted from the right
    for (int rest = number, place = 1; rest > 0; rest /= 10, ++place) {
        digits.prepend(rest % 10);
        (place % 2 ? oddPlaces : evenPlaces).append(rest % 10);
    }
    // A number of one digit has no last two, and no digit in an even place.
    const bool oneDigit = number < 10;
    switch (divisor) {
    case 2:
        return QStringLiteral("la sua ultima cifra, %1, è dispari")
            .arg(m.looked(QString::number(last)));
    case 5:
        return QStringLiteral("la sua ultima cifra, %1, non è né 0 né 5")
            .arg(m.looked(QString::number(last)));
    case 10:
        return QStringLiteral("la sua ultima cifra, %1, non è 0")
            .arg(m.looked(QString::number(last)));
    case 4:
        return oneDigit ? QStringLiteral("%1 ha una sola cifra, e non è divisibile per 4")
                              .arg(m.looked(QString::number(number)))
                        : QStringLiteral("le sue ultime due cifre, %1, non sono 00 e non formano "
                                         "un numero divisibile per 4")
                              .arg(m.looked(lastTwo));
    case 25:
        return oneDigit
                   ? QStringLiteral("%1 è più piccolo di 25").arg(m.looked(QString::number(number)))
                   : QStringLiteral("le sue ultime due cifre, %1, non sono 00, 25, 50 o 75")
                         .arg(m.looked(lastTwo));
    case 11: {
        if (oneDigit)
            return QStringLiteral("la sua sola cifra, %1, è di posto dispari, e non ha cifre di "
                                  "posto pari: la differenza è %2, che non è un multiplo di 11")
                .arg(m.looked(QString::number(number)))
                .arg(number);
        const int odd = sum(oddPlaces), even = sum(evenPlaces);
        return QStringLiteral("la somma delle cifre di posto dispari, contando da destra, è %1 e "
                              "quella delle cifre di posto pari è %2: differiscono di "
                              "%3\u00A0−\u00A0%4\u00A0=\u00A0%5, che non è un multiplo di 11")
            .arg(added(oddPlaces, m), added(evenPlaces, m, &Marks::evenPlace))
            .arg(std::max(odd, even))
            .arg(std::min(odd, even))
            .arg(std::abs(odd - even));
    }
    default: // 3 and 9
        return QStringLiteral("la somma delle sue cifre, %1, non è divisibile per %2")
            .arg(added(digits, m))
            .arg(divisor);
    }
}

} // namespace

QString name(int divisor) {
    return QStringLiteral("Multipli ") + NumberText::ofThe(divisor);
}

QString title(int divisor) {
    const QString window = QString::fromLatin1(TavolaDesign::caption);
    return divisor == standard ? window : window + " - " + name(divisor);
}

QString hint(int divisor, const QString& entry) {
    if (entry == u"Ciao")
        return QStringLiteral("Ciao campione, mi raccomando colpisci solo i multipli ") +
               NumberText::ofThe(divisor);
    if (entry == u"d")
        return QStringLiteral("Un numero è divisibile per %1 se %2")
            .arg(divisor)
            .arg(QString::fromUtf8(wordsOf(divisor).criterion));
    if (entry == u"h")
        return QStringLiteral("Es ") + QString::fromUtf8(wordsOf(divisor).example);
    return {};
}

int remainder(int designed, int divisor) {
    const auto [first, last] = Mistakes::parts(divisor);
    if (divisor != standard && first != 0) {
        if (designed == 8 || designed == 1) // disparicmd1's jump and wrong hit, disparicmd's start
            return first;
        if (designed == 6) // disparicmd's: the largest multiple of the part below the divisor
            return last * ((divisor - 1) / last);
    }
    return (designed - 1) % (divisor - 1) + 1;
}

int nearMiss(int number, int divisor) {
    const auto [first, second] = Mistakes::parts(divisor);
    const int step = first == 0 ? divisor : number % 2 ? second : first;
    const int near = std::max(number / step, 1) * step; // never above the number drawn
    if (first == 0)
        return number % 2 ? near + 1 : near - 1;
    return near % divisor != 0 ? near : near > step ? near - step : near + step;
}

int retry(int number, int divisor) {
    return number + divisor <= 32767 ? number + divisor : number - divisor;
}

QString spoken(const QString& text) {
    QString words = text;
    words.replace(QChar::Nbsp, u' ');
    for (const auto& [sign, word] : {std::pair{u" : ", u" diviso "},
                                     {u" = ", u" fa "},
                                     {u" + ", u" più "},
                                     {u" − ", u" meno "}})
        words.replace(QString::fromUtf16(sign), QString::fromUtf16(word));
    return words;
}

QString why(int number, int divisor, bool marked) {
    const Words& words = wordsOf(divisor);
    const Marks m{marked};
    QString reason;
    QList<Look> digits(5, Look::No);
    if (!words.both) {
        reason = fails(number, divisor, m);
        look(digits, number, divisor);
    } else {
        const auto [first, second] = Mistakes::parts(divisor);
        const bool byFirst = number % first == 0, bySecond = number % second == 0;
        if (byFirst || bySecond)
            reason = QStringLiteral("è divisibile per %1, ma non per %2: %3")
                         .arg(byFirst ? first : second)
                         .arg(byFirst ? second : first)
                         .arg(fails(number, byFirst ? second : first, m));
        else
            reason = QStringLiteral("non è divisibile né per %1 né per %2: %3, e %4")
                         .arg(first)
                         .arg(second)
                         .arg(fails(number, first, m), fails(number, second, m));
        for (const int part : {first, second})
            if (number % part != 0)
                look(digits, number, part);
    }
    // The number too, its digits marked as in the reason.
    QString dividend;
    for (int rest = number, place = 0; rest > 0; rest /= 10, ++place) {
        const QString digit = QString::number(rest % 10);
        dividend.prepend(digits[place] == Look::Looked      ? m.looked(digit)
                         : digits[place] == Look::EvenPlace ? m.evenPlace(digit)
                                                            : digit);
    }
    return QStringLiteral("Infatti %1.\n%2 : %3 = %4 con il resto di %5.")
        .arg(reason)
        .arg(dividend)
        .arg(divisor)
        .arg(number / divisor)
        .arg(number % divisor);
}

QString marksInWords(int number, int divisor) {
    const auto listed = [](const QList<int>& digits) {
        QStringList each;
        for (const int digit : digits)
            each << QString::number(digit);
        const QString last = each.takeLast();
        return each.isEmpty() ? last
                              : each.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
    };
    const auto clause = [&](int rule) -> QString {
        QList<int> odd, even;
        for (int rest = number, place = 1; rest > 0; rest /= 10, ++place)
            (place % 2 ? odd : even).prepend(rest % 10);
        switch (rule) {
        case 3:
        case 9:
            return QStringLiteral("tutte le cifre, da sommare");
        case 4:
        case 25:
            return number < 10 ? QStringLiteral("la sola cifra, %1").arg(number)
                               : QStringLiteral("le ultime due cifre, %1")
                                     .arg(number % 100, 2, 10, QLatin1Char('0'));
        case 11:
            return even.isEmpty()
                       ? QStringLiteral("la sola cifra, %1, di posto dispari").arg(number)
                       : QStringLiteral("le cifre di posto dispari, %1, in grassetto e "
                                        "sottolineate, e quelle di posto pari, %2, in grassetto "
                                        "corsivo e sopralineate")
                             .arg(listed(odd), listed(even));
        default:
            return QStringLiteral("l'ultima cifra, %1").arg(number % 10);
        }
    };
    QStringList clauses;
    if (!wordsOf(divisor).both)
        clauses << clause(divisor);
    else
        for (const int part : Mistakes::parts(divisor))
            if (number % part != 0 && !clauses.contains(clause(part)))
                clauses << clause(part);
    return QStringLiteral("Nel numero %1 contano %2.")
        .arg(number)
        .arg(clauses.join(QStringLiteral("; ")));
}

} // namespace Lessons
