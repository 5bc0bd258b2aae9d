#include "game/QuestionBoard.h"

#include "game/Colours.h"
#include "game/Game.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

void QuestionBoard::cmdNext_Click() {
    Board& board = m_game.board;
    GameState& state = m_game.state;
    Random& random = m_game.random();

    board.paricmd2.setBackground(Colours::cyan);
    board.lblMessage.setCaption({});
    random.reseedFromTime();
    do {
        state.num1 = toInt16(intPart(random.next() * 10.0));
    } while (state.num1 == 0);
    state.num2 = toInt16(intPart(random.next() * 10.0));
    board.lblNum1.setCaption(NumberText::atLeastOneDigit(state.num1));
    board.lblNum2.setCaption(NumberText::atLeastOneDigit(state.num2));
    paintGradient(state.num1, state.num2);
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

void QuestionBoard::Lezione_Click(int divisor) {
    GameState& state = m_game.state;
    if (divisor == state.divisore || state.lezioneFissa || !newMatchWanted())
        return;
    state.divisore = qint16(divisor);
    m_game.folders().rememberLesson(divisor);
    startAgain();
}

bool QuestionBoard::newMatchWanted() {
    MessageBoxRequest question;
    question.text = QStringLiteral("INIZIAMO UNA NUOVA GARA  ?");
    question.title = QStringLiteral("INIZIARE NUOVA GARA");
    question.yesNo = true;
    question.questionIcon = true;
    question.defaultButton = Answer::No;
    return m_game.messageBox(question) == Answer::Yes;
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
