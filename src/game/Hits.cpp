#include "game/Hits.h"

#include "game/Colours.h"
#include "game/Game.h"
#include "game/Lessons.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

void Hits::paricmd_Click() {
    rightHit(m_game.board.paricmd, [this] {
        m_game.random().reseed(0); // its own number, not drawn yet: 0
        return m_game.lessonNumber(900, 1);
    });
}

void Hits::paricmd1_Click() {
    rightHit(m_game.board.paricmd1, [this] {
        m_game.random().reseed(0);
        return m_game.lessonNumber(100, 2);
    });
}

void Hits::paricmd2_Click() {
    rightHit(m_game.board.paricmd2, [this] {
        GameState& state = m_game.state;
        m_game.random().reseed(state.numpari2);
        state.numpari2 = m_game.lessonNumber(40, 1);
        return state.numpari2;
    });
}

void Hits::disparicmd_Click() {
    wrongHit(m_game.board.disparicmd, QStringLiteral("Attenzione!  "),
             QStringLiteral("  non è  un numero divisibile per "), [this] {
                 m_game.random().reseed(0);
                 return drawWrongNumber(150, 2);
             });
}

void Hits::disparicmd1_Click() {
    wrongHit(m_game.board.disparicmd1, QStringLiteral("Attenzione! Hai sbagliato:  "),
             QStringLiteral("  non è  un numero divisibile per "), [this] {
                 m_game.random().reseed(0);
                 const int divisor = m_game.state.divisor; // 6001 in the lesson of 15
                 return toInt16(divisor * 400LL + Lessons::remainder(1, divisor));
             });
}

void Hits::disparicmd2_Click() {
    wrongHit(m_game.board.disparicmd2, QStringLiteral("Attenzione!  "),
             QStringLiteral(" non è  un numero divisibile per "), [this] {
                 GameState& state = m_game.state;
                 m_game.random().reseed(state.ndispari2);
                 state.ndispari2 = drawWrongNumber(1500, 3);
                 return state.ndispari2;
             });
}

qint16 Hits::drawWrongNumber(int range, int offset) {
    // A wrong target must never carry a multiple: the warning says it is not one.
    qint16 numero = 0;
    do {
        numero = toInt16(intPart(m_game.random().next() * range) + offset);
    } while (numero % m_game.state.divisor == 0);
    return numero;
}

void Hits::rightHit(Control& button, const Renumber& renumber) {
    GameState& state = m_game.state;
    m_game.review.clicked(button);
    for (state.contatore = 1; state.contatore <= 20000; state.contatore = add16(state.contatore, 1))
        button.setBackground(Colours::green);
    state.punti = add16(state.punti, 1);
    ++state.rightHits;
    m_game.suona(m_game.applicationFolder() + QLatin1String(Sounds::shot));
    m_game.board.Punteggio.setCaption(QStringLiteral(" ") + NumberText::plain(state.punti));
    button.setBackground(Colours::cyan);
    button.hide();
    button.setCaption(NumberText::plain(m_game.review.rightTarget(renumber())));
    m_game.questionBoard.cmdNext_Click();
}

void Hits::wrongHit(Control& button, const QString& firstPiece, const QString& secondPiece,
                    const Renumber& renumber) {
    GameState& state = m_game.state;
    m_game.review.clicked(button);
    for (state.contatore = 1; state.contatore <= 10000; state.contatore = add16(state.contatore, 1))
        button.setBackground(Colours::red);
    m_game.suona(m_game.applicationFolder() + QLatin1String(Sounds::explosion));
    // The number clicked: a shuffle while the warning is open may renumber the button.
    const QString clicked = button.caption();
    const QString warning = firstPiece + clicked + secondPiece + QString::number(state.divisor);
    bool isNumber = false;
    const int number = clicked.toInt(&isNumber);
    const bool explained = state.explanations && isNumber && number > 0 && number % state.divisor;
    MessageBoxRequest box{.text = warning, .spoken = true};
    if (explained) {
        box.text += QStringLiteral("\n\n") + Lessons::why(number, state.divisor);
        // The first line as it always was, its spaces kept; the digits that matter marked below.
        box.marked = QStringLiteral("<p style=\"white-space: pre-wrap\">%1</p><p>%2</p>")
                         .arg(warning.toHtmlEscaped(), Lessons::why(number, state.divisor, true)
                                                           .replace(u'\n', QStringLiteral("<br>")));
        box.markedInWords = Lessons::marksInWords(number, state.divisor);
    }
    m_game.messageBox(box);
    state.punti = add16(state.punti, -4);
    state.wrongNumbers.append(clicked.toInt());
    m_game.board.Punteggio.setCaption(NumberText::plain(state.punti));
    button.hide();
    button.setCaption(NumberText::plain(m_game.review.wrongTarget(renumber())));
    if (explained)
        m_game.review.retry(button, number);
    button.setBackground(Colours::cyan);
    m_game.questionBoard.cmdNext_Click();
}
