#include "game/QuestionBoard.h"

#include "game/Colours.h"
#include "game/Game.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

#include <tuple>

void QuestionBoard::cmdNext_Click() {
    GameState& state = m_game.state;
    m_game.board.paricmd2.setBackground(Colours::cyan);
    m_game.board.lblMessage.setCaption({});
    std::tie(state.num1, state.num2) = poseQuestion();
    paintGradient(state.num1, state.num2);
}

std::pair<qint16, qint16> QuestionBoard::poseQuestion() {
    Random& random = m_game.random();
    random.reseedFromTime();
    qint16 first = 0;
    do {
        first = toInt16(intPart(random.next() * 10.0));
    } while (first == 0);
    const qint16 second = toInt16(intPart(random.next() * 10.0));
    m_game.board.lblNum1.setCaption(NumberText::plain(first));
    m_game.board.lblNum2.setCaption(NumberText::plain(second));
    return {first, second};
}

void QuestionBoard::paintGradient(qint16 first, qint16 second) {
    // Inside-frame solid pen, copy mode, 2 pixels wide; one unit per pixel across and
    // scaleHeight units down the client height. Nothing is cleared first.
    Canvas::Drawing drawing(m_game.board.canvas, 2);
    double y = 0;
    for (int i = 0; i <= 255; ++i) {
        const int outerWidth = m_game.board.outerWidthTwips;
        drawing.rectangle({0, y}, {static_cast<double>(outerWidth), y + 2},
                          QColor(20 * first, 20 * second, i));
        y += 2;
    }
}

void QuestionBoard::Next_Click() {
    if (newMatchWanted())
        startAgain();
}

void QuestionBoard::chooseLesson(int divisor) {
    GameState& state = m_game.state;
    if (divisor == state.divisor || state.lessonFixed || !newMatchWanted())
        return;
    state.divisor = qint16(divisor);
    m_game.folders().rememberLesson(divisor);
    startAgain();
}

void QuestionBoard::chooseMatch(ClassRegister::Kind kind, int pace) {
    using Kind = ClassRegister::Kind;
    GameState& state = m_game.state;
    const Kind chosenBefore = state.chosenKind();
    if ((kind == chosenBefore && pace == state.pace) ||
        (kind != chosenBefore && (state.practiceFixed || state.reviewFixed)) ||
        (kind == Kind::Review && !state.reviewOn) || (pace != state.pace && state.paceFixed) ||
        !newMatchWanted())
        return;
    state.review = kind == Kind::Review;
    state.practice = kind == Kind::Practice;
    state.pace = qint16(pace);
    if (!state.review) // a review is chosen each time; the next start is a match as before
        m_game.folders().rememberMatch(state.practice, QString::number(pace / 1000.0));
    startAgain();
}

bool QuestionBoard::newMatchWanted() {
    const bool wanted =
        m_game.messageBox({.text = QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"),
                           .yesNo = true,
                           .questionIcon = true,
                           .defaultButton = Answer::No,
                           .title = QStringLiteral("INIZIARE NUOVA GARA")}) == Answer::Yes;
    // The match thrown away goes into the register as it was played, before any new choice.
    if (wanted)
        m_game.exitSequence.matchLeft(ClassRegister::Ending::NewMatch);
    return wanted;
}

void QuestionBoard::startAgain() {
    // Close the window: every control, the timers and the drawing go back to their design.
    m_game.host().hideWindow();
    m_game.board.reset();
    // Open it again on the same object: load and activation run again, initialization does not.
    m_game.startUp.Form_Load();
    m_game.host().showWindow();
    m_game.startUp.Form_Activate();
}
