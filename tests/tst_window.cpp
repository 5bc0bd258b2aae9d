#include "WindowFixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QtTest>

namespace {
QStringList visibleControls(Tavola& tavola) {
    QStringList names;
    for (QWidget* child : tavola.surface()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            names << child->objectName();
    names.sort();
    return names;
}

QString text(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    return qobject_cast<QAbstractButton*>(widget)->text();
}
} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlStartsAtItsDesignGeometryAndText() {
        WindowFixture f;
        for (const auto& design : TavolaDesign::controls()) {
            QWidget* widget = f.widget(design.name);
            QVERIFY2(widget, design.name);
            QCOMPARE(widget->geometry(), TavolaDesign::pixelGeometry(design));
            QCOMPARE(widget->isVisibleTo(f.tavola.surface()), !design.hidden);
            QCOMPARE(widget->isEnabled(), !design.disabled);
        }
        QCOMPARE(f.widget("Label6")->geometry(), QRect(-8, 0, 209, 49));
        QCOMPARE(f.widget("cmdExit")->geometry(), QRect(408, 0, 209, 49));
        QCOMPARE(text(f.widget("disparicmd1")), QStringLiteral("63"));
        QCOMPARE(text(f.widget("Label12")), QStringLiteral("Il record  è di "));
        QCOMPARE(text(f.widget("lblconto")), QStringLiteral("00.00.00"));
        QCOMPARE(f.tavola.surface()->size(), QSize(608, 672));
        QCOMPARE(f.tavola.windowTitle(), QStringLiteral("Frulvane"));
    }

    void theShownWindowHasOnlyTheDesignedVisibleControls() {
        WindowFixture f;
        f.start();
        QCOMPARE(visibleControls(f.tavola),
                 QStringList({"Label11", "Label12", "Label13", "Label14", "Label6", "Punteggio",
                              "cmdExit", "cmdNext", "lblScore", "lblconto", "lblnome", "lblnome1",
                              "lblpunti"}));
        QVERIFY(!f.widget("cmdNext")->isEnabled());
        QCOMPARE(text(f.widget("cmdExit")), QStringLiteral("E&xit"));
        QCOMPARE(text(f.widget("lblconto")), QStringLiteral("00:05:00"));
        QCOMPARE(text(f.widget("lblnome1")), QStringLiteral("Anna"));
    }

    void tooltipsAreExact() {
        WindowFixture f;
        QCOMPARE(f.widget("cmdExit")->toolTip(),
                 QStringLiteral("Ti prego resta ancora, forse riuscirai a farmi uscire "));
        QCOMPARE(f.widget("cmdNext")->toolTip(), QStringLiteral("Go"));
        QCOMPARE(f.widget("lblScore")->toolTip(),
                 QStringLiteral("Questo è il tuo punteggio. Forza con il  record"));
        QCOMPARE(f.widget("lblTime")->toolTip(),
                 QStringLiteral("Clicca sotto di me per attivare il Timer"));
        QCOMPARE(f.widget("txtAnswer")->toolTip(),
                 QStringLiteral("Inserisci il risultato e  premi il tasto  Invio"));
    }

    void theMenuBarHasItsFourEntriesInOrder() {
        WindowFixture f;
        f.start();
        const QList<QAction*> top = f.tavola.menuBar()->actions();
        QCOMPARE(top.size(), 4);
        QCOMPARE(top[0]->objectName(), QStringLiteral("INFOMAZIONI"));
        QCOMPARE(top[1]->objectName(), QStringLiteral("copy"));
        QCOMPARE(top[2]->text(), QStringLiteral("Nuovo gioco"));
        QVERIFY(!top[2]->menu());
        QCOMPARE(top[3]->text(), QStringLiteral("Help"));
        QStringList help;
        for (QAction* item : top[3]->menu()->actions())
            help << item->text();
        QCOMPARE(help, QStringList({
                           "Ciao campione, mi raccomando colpisci solo i multipli del 15",
                           "Ogni errore  ti farà perdere 4 punti.",
                           "Un numero è divisibile per 15 se è divisibile sia per 3 che per 5",
                           "Es 1365 è divisibile per 15 ed infatti è divisibile  sia per 3, "
                           "essendo la somma delle cifre 15, e sia per 5",
                       }));
        QCOMPARE(top[0]->menu()->actions().size(), 1);
        QCOMPARE(top[1]->menu()->actions().size(), 1);
    }

    void theTimersAreAsDesigned() {
        WindowFixture f;
        const auto timers = f.tavola.findChildren<QTimer*>();
        QCOMPARE(f.game().board.Timer1.interval(), 1000);
        QCOMPARE(f.game().board.Timer2.interval(), 1300);
        QVERIFY(f.game().board.Timer1.isEnabled());
        QVERIFY(!f.game().board.Timer2.isEnabled());
    }

    void aNewMatchRestoresTheDesignAndKeepsTheGameState() {
        WindowFixture f;
        f.start();
        f.game().backgroundClicked();
        f.game().state.ndispari1 = 38;
        f.game().state.numpari2 = 45;
        f.game().board.paricmd.setLeft(500);
        f.game()
            .board.find(QStringLiteral("Label13"))
            ->setCaption(QStringLiteral("con tantissimi punti"));
        QVERIFY(f.widget("Label13")->width() > 97);
        f.dialogs.answer(Answer::Yes);
        f.dialogs.type(QStringLiteral("Luca"));
        f.dialogs.answer(Answer::Ok);
        f.game().menuClicked(u"Next");
        for (const auto& design : TavolaDesign::controls()) {
            if (f.game().board.find(QString::fromLatin1(design.name))->caption() !=
                QString::fromUtf8(design.text))
                continue; // captions set again by the new match's load and activation
            QCOMPARE(f.widget(design.name)->geometry(), TavolaDesign::pixelGeometry(design));
            QCOMPARE(f.widget(design.name)->isVisibleTo(f.tavola.surface()), !design.hidden);
        }
        QVERIFY(f.tavola.isVisible());
        QVERIFY(f.game().board.Timer1.isEnabled());
        QVERIFY(!f.game().board.Timer2.isEnabled());
        QCOMPARE(f.game().state.ndispari1, qint16(38));
        QCOMPARE(f.game().state.numpari2, qint16(45));
        QCOMPARE(text(f.widget("lblnome1")), QStringLiteral("Luca"));
        QCOMPARE(text(f.widget("Punteggio")), QStringLiteral("0"));
    }

    void aPlayerNameWithMarkupShowsLiterally() {
        WindowFixture f;
        f.start(QStringLiteral("<b>x</b> <img src=a.png>  y"));
        auto* label = qobject_cast<QLabel*>(f.widget("lblnome1"));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), QStringLiteral("<b>x</b> <img src=a.png>  y"));
        for (QLabel* any : f.tavola.surface()->findChildren<QLabel*>())
            QCOMPARE(any->textFormat(), Qt::PlainText);
    }

    void theGradientLiesUnderTheControlsAndSurvivesHideAndShow() {
        WindowFixture f;
        f.start();
        const Game& game = f.game();
        const QImage canvas = game.board.canvas.image();
        const QColor top = canvas.pixelColor(300, 0);
        const QColor bottom = canvas.pixelColor(300, 671);
        QCOMPARE(top, QColor(20 * game.state.num1, 20 * game.state.num2, 0));
        QCOMPARE(bottom, QColor(20 * game.state.num1, 20 * game.state.num2, 255));
        QCOMPARE(canvas.pixelColor(300, 336).blue(), 128);

        QImage shown = f.tavola.surface()->grab().toImage();
        QCOMPARE(shown.pixelColor(300, 671), bottom);
        QCOMPARE(shown.pixelColor(300, 300).blue(), 300 * 256 / 672);
        // lblScore paints its yellow over the gradient.
        QCOMPARE(shown.pixelColor(45, 100), QColor(0xFF, 0xFF, 0x00));

        f.tavola.hide();
        f.tavola.show();
        QCOMPARE(f.tavola.surface()->grab().toImage(), shown);
        shown.save(QDir::temp().filePath(QStringLiteral("zenobra-window.png")));
    }

    void onlyClicksOnTheBackgroundCount() {
        WindowFixture f;
        f.start();
        const Game& game = f.game();
        f.clickAt(f.widget("Label14")->geometry().center());
        f.clickAt(f.widget("lblScore")->geometry().center());
        f.clickAt(f.widget("cmdNext")->geometry().center());
        QVERIFY(!game.board.Timer2.isEnabled());
        QVERIFY(f.sound.played.isEmpty());

        // Where a hidden number button stands, the click reaches the background.
        f.clickAt(f.widget("paricmd")->geometry().center());
        QVERIFY(game.board.Timer2.isEnabled());
        QCOMPARE(f.sound.played, QStringList({"/opt/zenobra/suoni/laser.wav"}));
    }

    void thePointersAreTheirOwn() {
        WindowFixture f;
        QCOMPARE(f.widget("paricmd")->cursor().hotSpot(), QPoint(10, 10));
        QCOMPARE(f.widget("paricmd")->cursor().pixmap().deviceIndependentSize(), QSizeF(32, 32));
        QCOMPARE(f.tavola.surface()->cursor().hotSpot(), QPoint(16, 16));
        QVERIFY(!f.tavola.windowIcon().isNull());
    }

    void theGradientIsCrispAtTwiceTheScale() {
        WindowFixture f;
        f.start();
        Canvas& canvas = f.game().board.canvas;
        canvas.setDevicePixelRatio(2.0);
        f.game().questionBoard.paintGradient(1, 2);
        const QImage& image = canvas.image();
        QCOMPARE(image.size(), QSize(1216, 1344));
        // Each band is 5.25 device pixels: bands change on whole device rows, with no blending.
        QCOMPARE(image.pixelColor(10, 0), QColor(20, 40, 0));
        QCOMPARE(image.pixelColor(10, 5), QColor(20, 40, 1));
        QCOMPARE(image.pixelColor(10, 1343), QColor(20, 40, 255));
    }

    void minimizingAndRestoringKeepTheTitle() {
        WindowFixture f;
        f.start();
        f.tavola.showMinimized();
        QCOMPARE(f.tavola.windowTitle(), QStringLiteral("Frulvane"));
        f.tavola.showNormal();
        QCOMPARE(f.tavola.windowTitle(), QStringLiteral("Frulvane"));
        QVERIFY(!f.game().hasEnded());
    }

    void theExitButtonAnswersItsAccessLetter() {
        WindowFixture f;
        f.start();
        QApplication::setActiveWindow(&f.tavola);
        QVERIFY(QTest::qWaitForWindowActive(&f.tavola));
        QTest::keyClick(&f.tavola, Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(f.game().hasEnded()); // an access letter animates the press first
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("              Ciao a presto."));
    }

    void theMenusOpenFromTheKeyboard() {
        WindowFixture f;
        f.start();
        QApplication::setActiveWindow(&f.tavola);
        QVERIFY(QTest::qWaitForWindowActive(&f.tavola));
        QTest::keyClick(&f.tavola, Qt::Key_F10);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("INFOMAZIONI"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
        QTRY_COMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("copy"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    }

    void everyVisibleControlHasAnAccessibleName() {
        WindowFixture f;
        f.start(QString());
        f.game().backgroundClicked();
        for (QWidget* child : f.tavola.surface()->findChildren<QWidget*>()) {
            if (!child->isVisible())
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
            QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(),
                     qPrintable(child->objectName()));
        }
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
