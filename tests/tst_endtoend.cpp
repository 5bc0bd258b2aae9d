// Whole matches on the real window with the real Qt boxes, answered as a player would.
#include "FakePlatform.h"
#include "desktop/QtDialogs.h"
#include "desktop/Tavola.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

namespace {

QByteArray bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct RealWindow : QObject {
    explicit RealWindow(int speedUp)
        : tavola(dialogs, sound, random, folders, {speedUp, [this] { ++quits; }}) {
        dialogs.setParent(&tavola);
        // Answers each box as it opens: the name typed, every message read and closed.
        connect(&player, &QTimer::timeout, this, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (auto* input = qobject_cast<QInputDialog*>(box)) {
                input->findChild<QLineEdit*>()->setText(name);
                input->accept();
            } else if (auto* message = qobject_cast<QMessageBox*>(box);
                       message && !(leaveWarningsOpen && message->text().startsWith(u'A'))) {
                texts << message->text();
                formats << message->textFormat();
                if (whileOpen)
                    std::exchange(whileOpen, nullptr)();
                QTest::mouseClick(message->buttons().first(), Qt::LeftButton);
            }
        });
        player.start(5);
    }
    Game& game() { return tavola.game(); }
    QWidget* widget(const Control& control) { return tavola.controlWidget(control.name()); }
    // Clicks the background until the shuffle brings one of these into plain view, then it.
    void hitOneOf(std::initializer_list<const Control*> buttons) {
        for (int tries = 0; tries < 200; ++tries) {
            for (const Control* button : buttons) {
                QWidget* target = widget(*button);
                if (button->isVisible() && tavola.surface()->rect().contains(target->geometry()))
                    return QTest::mouseClick(target, Qt::LeftButton);
            }
            QTest::mouseClick(tavola.surface(), Qt::LeftButton, {}, QPoint(600, 660));
        }
        QFAIL("no target came into view");
    }

    QTimer player;
    QString name = QStringLiteral("Anna");
    QStringList texts;
    QList<Qt::TextFormat> formats;
    bool leaveWarningsOpen = false;
    std::function<void()> whileOpen;
    QtDialogs dialogs;
    FakeSound sound;
    FixedTime time;
    ScriptedRandom random{time};
    FakeFolders folders;
    int quits = 0;
    Tavola tavola;
};

const QString farewell = QStringLiteral("              Ciao a presto.");

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void aWholeMatchWithRealBoxes() {
        RealWindow w(1);
        Board& board = w.game().board;
        w.tavola.start();
        QCOMPARE(w.texts, QStringList({" Anna vediamo se sei un vero campione  "}));
        QCOMPARE(board.lblconto.caption(), QStringLiteral("00:05:00"));
        while (w.game().state.punti < 5)
            w.hitOneOf({&board.paricmd, &board.paricmd1, &board.paricmd2});
        QCOMPARE(board.Punteggio.caption(), QStringLiteral(" 5"));

        // A wrong hit: the shuffle runs under the open warning; the penalty lands after it.
        int drawsWhileOpen = w.random.draws;
        w.whileOpen = [&] {
            QTest::qWait(1500);
            drawsWhileOpen = w.random.draws - drawsWhileOpen;
            QCOMPARE(w.game().state.punti, qint16(5));
        };
        w.hitOneOf({&board.disparicmd, &board.disparicmd1, &board.disparicmd2});
        QVERIFY(drawsWhileOpen > 0);
        QVERIFY(w.texts.last().startsWith(QStringLiteral("Attenzione!")));
        QTest::qWait(50); // the window is active again: activation does not run again
        QCOMPARE(board.Punteggio.caption(), QStringLiteral("1"));
        w.hitOneOf({&board.paricmd, &board.paricmd1, &board.paricmd2});

        QTest::mouseClick(w.widget(board.cmdExit), Qt::LeftButton);
        QVERIFY(w.game().hasEnded());
        QCOMPARE(w.quits, 1);
        QVERIFY(!w.tavola.isVisible());
        QCOMPARE(w.texts.mid(w.texts.size() - 2),
                 QStringList({farewell, "Ok ho registrato il tuo record, C A M P I O N E\""}));
        QVERIFY(!w.formats.contains(Qt::RichText) && !w.formats.contains(Qt::AutoText));
        QCOMPARE(bytes(w.folders.dir.filePath("aquarvel.txt")), QByteArray(" 2\r\n"));
        QCOMPARE(bytes(w.folders.dir.filePath("quarvel.txt")), QByteArray("Anna\r\n"));
    }

    void theClockEndingUnderAnOpenWarningEndsWithoutPenalty() {
        RealWindow w(100); // a five-minute match in about 3 seconds
        w.tavola.start();
        Board& board = w.game().board;
        w.leaveWarningsOpen = true; // until the clock's farewell opens over it
        w.hitOneOf({&board.disparicmd, &board.disparicmd1, &board.disparicmd2});
        QVERIFY(w.game().hasEnded());
        QCOMPARE(w.game().state.punti, qint16(0));
        QCOMPARE(w.texts.last(), farewell);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(bytes(w.folders.dir.filePath("aquarvel.txt")), QByteArray());
    }

    void closingTheWindowEndsAtOnceWithoutTheRecord() {
        RealWindow w(1);
        w.tavola.start();
        w.hitOneOf({&w.game().board.paricmd, &w.game().board.paricmd1, &w.game().board.paricmd2});
        w.tavola.close();
        QVERIFY(w.game().hasEnded());
        QCOMPARE(w.quits, 1);
        QCOMPARE(bytes(w.folders.dir.filePath("aquarvel.txt")), QByteArray());
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
