// Matches on the real window with the real Qt boxes, answered as a player would, at scale 1.5
// and on a screen 1024 pixels wide at 1 and 2, where a warning must be read whole too.
#include "FakePlatform.h"
#include "desktop/QtDialogs.h"
#include "desktop/Tavola.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QtTest>

namespace {

struct RealWindow : QObject, ScriptedServices {
    RealWindow()
        : tavola({boxes, sound, random, folders, time, voice}, [this] { ++quits; }) {
        boxes.setParent(&tavola);
        // Answers each box as it opens: the name typed, each message read and closed; a
        // warning is read and left open, and how far the shuffle has drawn is noted then.
        connect(&player, &QTimer::timeout, this, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (auto* input = qobject_cast<QInputDialog*>(box)) {
                input->findChild<QLineEdit*>()->setText(QStringLiteral("Anna"));
                input->accept();
            } else if (auto* message = qobject_cast<QMessageBox*>(box);
                       message && (seen.isEmpty() || seen.last() != message->text())) {
                seen << message->text();
                // The child's name only as text; a warning's digits marked in rich text.
                plain = plain && (message->textFormat() == Qt::PlainText) ==
                                     !message->text().contains(QLatin1String("<b><u>"));
                // Whole, and no wider than the screen: its text wrapped, never cut.
                const auto* label = message->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                fits = fits &&
                       message->frameGeometry().width() <=
                           message->screen()->availableGeometry().width() &&
                       label->height() >= label->heightForWidth(label->width()) &&
                       label->width() >= label->minimumSizeHint().width();
                drawsAt << random.draws;
                if (!message->text().contains(QLatin1String("Attenzione")))
                    QTest::mouseClick(message->buttons().first(), Qt::LeftButton);
                else // two seconds left: the clock runs out under the warning
                    std::tie(game().state.minuti, game().state.secondi) = std::pair(0, 2.0f);
            }
        });
        player.start(5);
        // A box that never closes would hold the test for good: end it instead.
        watchdog.callOnTimeout([] { qFatal("a box stayed open: the match never ended"); });
        watchdog.start(60000);
    }
    Game& game() { return tavola.game(); }

    QTimer player;
    QTimer watchdog;
    QStringList seen;
    QList<int> drawsAt;
    bool plain = true;
    bool fits = true;
    QtDialogs boxes; // the real ones
    int quits = 0;
    Tavola tavola;
};

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void theClockEndingUnderAnOpenWarningEndsWithoutPenalty() {
        RealWindow w;
        w.tavola.start();
        // The pointers' pictures drawn sharp at the screen's scale, and pointing where they did.
        const int scale2 = qRound(2 * w.tavola.devicePixelRatioF()); // twice, for 1.5
        const QCursor crosshair = w.tavola.surface()->cursor();
        QCOMPARE(crosshair.pixmap().size(), QSize(16, 16) * scale2);
        QCOMPARE(crosshair.hotSpot(), QPoint(8, 8) * scale2);
        QCOMPARE(w.tavola.controlWidget("paricmd")->cursor().hotSpot(), QPoint(5, 5) * scale2);
        Board& board = w.game().board;
        // Clicks the background until a wrong number jumps into plain view, then clicks it.
        for (int tries = 0; tries < 200 && !w.game().hasEnded(); ++tries) {
            for (Control* wrong : {&board.disparicmd, &board.disparicmd1, &board.disparicmd2}) {
                QWidget* target = w.tavola.controlWidget(wrong->name());
                if (wrong->isVisible() && w.tavola.surface()->rect().contains(target->geometry())) {
                    QTest::mouseClick(target, Qt::LeftButton); // returns when the clock has ended
                    break;
                }
            }
            QTest::mouseClick(w.tavola.surface(), Qt::LeftButton, {}, QPoint(600, 660));
        }
        QVERIFY(w.game().hasEnded());
        QCOMPARE(w.seen.size(), 3);
        QVERIFY(w.seen[1].contains(QStringLiteral("</p><p>Infatti ")) && w.fits);
        QCOMPARE(w.seen.last(), QStringLiteral("              Ciao a presto."));
        QVERIFY(w.plain);
        QVERIFY(w.drawsAt[2] > w.drawsAt[1]); // the shuffle ran under the open warning
        QCOMPARE(w.game().state.punti, qint16(0));
        QCOMPARE(w.quits, 1);
        QVERIFY(!QApplication::activeModalWidget() && !w.tavola.isVisible());
    }

    void closingTheWindowEndsAtOnceWithoutTheRecord() {
        RealWindow w;
        w.tavola.start();
        w.game().controlClicked(w.game().board.paricmd);
        w.tavola.close();
        QVERIFY(w.game().hasEnded());
        QCOMPARE(w.quits, 1);
        QCOMPARE(QFileInfo(w.folders.dir.filePath("aquarvel.txt")).size(), 0);
        QCOMPARE(w.seen.size(), 1); // the greeting, and no farewell
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
