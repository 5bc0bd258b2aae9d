#include "FakePlatform.h"
#include "desktop/QtDialogs.h"
#include "desktop/Tavola.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {

// Answers the real modal boxes as a player would: it finds the active modal widget and acts
// on it, one scripted step per box.
class Player : public QObject {
public:
    using Step = std::function<bool(QWidget* box)>; // true once the box is dealt with
    Player() {
        m_poll.setInterval(5);
        connect(&m_poll, &QTimer::timeout, this, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || !box->isVisible() || m_steps.empty())
                return;
            if (m_steps.front()(box))
                m_steps.pop_front();
        });
        m_poll.start();
    }
    void then(Step step) { m_steps.push_back(std::move(step)); }
    void typeName(const QString& name) { // the name prompt
        then([name](QWidget* box) {
            auto* input = qobject_cast<QInputDialog*>(box);
            if (!input)
                return false;
            input->findChild<QLineEdit*>()->setText(name);
            input->accept();
            return true;
        });
    }
    void pressOk(QStringList* texts) {
        then([texts](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            if (!message)
                return false;
            texts->append(message->text());
            QTest::mouseClick(message->buttons().first(), Qt::LeftButton);
            return true;
        });
    }
    bool done() const { return m_steps.empty(); }

private:
    QTimer m_poll;
    std::deque<Step> m_steps;
};

QByteArray bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct RealWindow {
    explicit RealWindow(int speedUp)
        : tavola(dialogs, sound, random, folders, {speedUp, [this] { ++quits; }}) {
        dialogs.setParent(&tavola);
    }
    Game& game() { return tavola.game(); }
    // Start-up, with the name typed and the greeting closed.
    void start(Player& player, const QString& name, QStringList* texts) {
        player.typeName(name);
        player.pressOk(texts);
        tavola.start();
    }
    QWidget* widget(const Control& control) { return tavola.controlWidget(control.name()); }
    void click(const Control& control) {
        QTest::mouseClick(widget(control), Qt::LeftButton, {}, widget(control)->rect().center());
    }
    // Clicks the background until the shuffle shows one of these buttons.
    const Control& showOneOf(std::initializer_list<const Control*> buttons) {
        for (int tries = 0; tries < 200; ++tries) {
            for (const Control* button : buttons)
                if (button->isVisible() &&
                    tavola.surface()->rect().intersects(widget(*button)->geometry()) &&
                    tavola.surface()->childAt(widget(*button)->geometry().center()) ==
                        widget(*button))
                    return *button;
            QTest::mouseClick(tavola.surface(), Qt::LeftButton, {}, QPoint(600, 660));
        }
        qFatal("no target came into view");
    }

    QtDialogs dialogs;
    FakeSound sound;
    FixedTime time;
    ScriptedRandom random{time};
    FakeFolders folders;
    int quits = 0;
    Tavola tavola;
};

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void aWholeMatchWithRealBoxes() {
        RealWindow w(1);
        Board& board = w.game().board;
        QStringList texts;
        Player player;
        w.start(player, QStringLiteral("Anna"), &texts);
        QCOMPARE(texts, QStringList({" Anna vediamo se sei un vero campione  "}));
        QVERIFY(w.tavola.isVisible());
        QCOMPARE(board.lblconto.caption(), QStringLiteral("00:05:00"));

        while (w.game().state.punti < 5)
            w.click(w.showOneOf({&board.paricmd, &board.paricmd1, &board.paricmd2}));
        QCOMPARE(board.Punteggio.caption(), QStringLiteral(" 5"));

        // A wrong hit: the shuffle runs while the warning is open; the penalty lands after.
        const Control& wrong =
            w.showOneOf({&board.disparicmd, &board.disparicmd1, &board.disparicmd2});
        const QString number = wrong.caption();
        bool shufflesWhileOpen = false;
        qint16 scoreWhileOpen = 0;
        Qt::TextFormat format = Qt::AutoText;
        player.then([&](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            if (!message)
                return false;
            const int draws = w.random.draws;
            QTest::qWait(1500);
            shufflesWhileOpen = w.random.draws > draws;
            scoreWhileOpen = w.game().state.punti;
            format = message->textFormat();
            texts << message->text();
            QTest::mouseClick(message->buttons().first(), Qt::LeftButton);
            return true;
        });
        w.click(wrong);
        QVERIFY(shufflesWhileOpen);
        QCOMPARE(scoreWhileOpen, qint16(5));
        QCOMPARE(format, Qt::PlainText);
        QVERIFY(texts.last().contains(number));
        QTest::qWait(50); // the window active again: activation does not run again
        QCOMPARE(w.game().state.punti, qint16(1));
        QCOMPARE(board.Punteggio.caption(), QStringLiteral("1"));

        w.click(w.showOneOf({&board.paricmd, &board.paricmd1, &board.paricmd2}));
        QCOMPARE(board.Punteggio.caption(), QStringLiteral(" 2"));

        player.pressOk(&texts);
        player.pressOk(&texts);
        w.click(board.cmdExit);
        QVERIFY(w.game().hasEnded());
        QCOMPARE(w.quits, 1);
        QVERIFY(!w.tavola.isVisible());
        QCOMPARE(texts.mid(texts.size() - 2),
                 QStringList({"              Ciao a presto.",
                              "Ok ho registrato il tuo record, C A M P I O N E\""}));
        QCOMPARE(bytes(w.folders.dir.filePath("aquarvel.txt")), QByteArray(" 2\r\n"));
        QCOMPARE(bytes(w.folders.dir.filePath("quarvel.txt")), QByteArray("Anna\r\n"));
    }

    void aMatchThatEndsByTheClock() {
        RealWindow w(500); // a five-minute match in under a second
        QStringList texts;
        Player player;
        w.start(player, QStringLiteral("Luca"), &texts);
        w.click(w.showOneOf(
            {&w.game().board.paricmd, &w.game().board.paricmd1, &w.game().board.paricmd2}));
        player.pressOk(&texts);
        player.pressOk(&texts);
        QTRY_VERIFY_WITH_TIMEOUT(w.game().hasEnded(), 20000);
        QCOMPARE(w.quits, 1);
        QVERIFY(!texts.contains(QStringLiteral("Tempo scaduto")));
        QCOMPARE(texts.mid(1), QStringList({"              Ciao a presto.",
                                            "Ok ho registrato il tuo record, C A M P I O N E\""}));
        QCOMPARE(bytes(w.folders.dir.filePath("aquarvel.txt")), QByteArray(" 1\r\n"));
        QCOMPARE(bytes(w.folders.dir.filePath("quarvel.txt")), QByteArray("Luca\r\n"));
    }

    void theClockEndingUnderAnOpenWarningClosesItWithoutPenalty() {
        RealWindow w(100); // a five-minute match in about 3 seconds
        QStringList texts;
        Player player;
        w.start(player, QStringLiteral("Bea"), &texts);
        Board& board = w.game().board;
        const Control& wrong =
            w.showOneOf({&board.disparicmd, &board.disparicmd1, &board.disparicmd2});
        player.then([&](QWidget* box) { // the warning: left open until the clock runs out
            texts << qobject_cast<QMessageBox*>(box)->text();
            return true;
        });
        player.then([&](QWidget* box) { // the farewell, opened over the warning
            auto* message = qobject_cast<QMessageBox*>(box);
            if (!message || !message->text().contains(QLatin1String("Ciao a presto")))
                return false;
            texts << message->text();
            QTest::mouseClick(message->buttons().first(), Qt::LeftButton);
            return true;
        });
        QVERIFY(!w.game().hasEnded());
        w.click(wrong);
        QVERIFY(w.game().hasEnded());
        QCOMPARE(w.game().state.punti, qint16(0));
        QCOMPARE(texts.size(), 3);
        QVERIFY(texts[1].startsWith(QStringLiteral("Attenzione!")));
        QCOMPARE(texts.last(), QStringLiteral("              Ciao a presto."));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(bytes(w.folders.dir.filePath("aquarvel.txt")), QByteArray());
    }

    void closingTheWindowEndsAtOnceWithoutTheRecord() {
        RealWindow w(1);
        QStringList texts;
        Player player;
        w.start(player, QStringLiteral("Anna"), &texts);
        w.click(w.showOneOf(
            {&w.game().board.paricmd, &w.game().board.paricmd1, &w.game().board.paricmd2}));
        w.tavola.close();
        QVERIFY(w.game().hasEnded());
        QCOMPARE(w.quits, 1);
        QCOMPARE(texts.size(), 1);
        QCOMPARE(bytes(w.folders.dir.filePath("aquarvel.txt")), QByteArray());
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
