// The real window, offscreen: its design, its layers, its keyboard and its menus.
#include "WindowFixture.h"
#include "desktop/GraphicButton.h"
#include "desktop/QtDialogs.h"
#include "platform/Sound.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QtMath>
#include <QtTest>

namespace {
// Whether the menu bar shows this entry marked, as an open menu's entry is.
bool marked(QMenuBar* bar, QAction* entry) {
    const QRect at = bar->actionGeometry(entry);
    return bar->grab().toImage().pixelColor(at.left() + 2, at.center().y()) ==
           bar->palette().color(QPalette::Highlight);
}

// "456 344 81 81 |63| S32b 00FFFF - hidden": the place in pixels, the caption, the font (S
// Liberation Sans, R Liberation Serif, K Liberation Sans Black, pixels, b bold, i italic), the
// background and text colours in RGB (- for none), the flags, then the tooltip in quotes.
QString described(QWidget* widget) {
    const auto rgb = [](const QColor& colour) {
        return QString::number(colour.rgb() & 0xFFFFFF, 16).toUpper().rightJustified(6, u'0');
    };
    const QString caption = widget->property("text").toString(); // labels, buttons and boxes
    QString back = QStringLiteral("-"), font = QStringLiteral("system");
    QStringList flags;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->frameShape() != QFrame::NoFrame)
            flags << "border";
        if (label->alignment() & Qt::AlignHCenter)
            flags << "centred";
    }
    if (auto* button = dynamic_cast<GraphicButton*>(widget))
        back = rgb(button->colour());
    else if (widget->autoFillBackground())
        back = rgb(widget->palette().color(
            widget->backgroundRole() == QPalette::Base ? QPalette::Base : QPalette::Window));
    const QFont& f = widget->font();
    if (f != QApplication::font())
        font = (f.family() == QLatin1String("Liberation Serif") ? "R"
                : f.weight() == QFont::Black                    ? "K"
                                                                : "S") +
               QString::number(f.pixelSize()) +
               (f.bold() && f.weight() != QFont::Black ? "b" : "") + (f.italic() ? "i" : "");
    const QColor text = widget->palette().color(QPalette::Active, QPalette::WindowText);
    if (!widget->isEnabled())
        flags.prepend("disabled");
    if (!widget->isVisibleTo(widget->parentWidget()))
        flags.prepend("hidden");
    const QRect r = widget->geometry();
    const QString fore =
        text == QApplication::palette().color(QPalette::Active, QPalette::WindowText) ? "-"
                                                                                      : rgb(text);
    if (!widget->toolTip().isEmpty())
        flags << u'"' + widget->toolTip() + u'"';
    return QString::asprintf("%d %d %d %d ", r.x(), r.y(), r.width(), r.height()) +
           QStringList{u'|' + caption + u'|', font, back, fore, flags.join(u' ')}
               .join(u' ')
               .trimmed();
}
// The lesson entries offered to assistive tools as a choice: "(x) Multipli del 15" checked.
QStringList offeredLessons(QMenuBar* bar) {
    QAccessibleInterface* menu =
        QAccessible::queryAccessibleInterface(bar->findChild<QMenu*>(QStringLiteral("Lezione")));
    QStringList entries;
    for (int i = 0; i < menu->childCount(); ++i)
        if (QAccessibleInterface* entry = menu->child(i); entry->role() == QAccessible::RadioButton)
            entries << (entry->state().checked ? "(x) " : "( ) ") + entry->text(QAccessible::Name);
    return entries;
}
// A key where the keyboard sends it: to an open menu, else to the focus.
void press(Qt::Key key) {
    QWidget* popup = QApplication::activePopupWidget();
    QTest::keyClick(popup ? popup : QApplication::focusWidget(), key);
}
} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyKindOfControlIsAsDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("design"); // as described() writes it
        for (const QString& row : QString::fromUtf8(R"(
            disparicmd1 456 344 81 81 |63| S32b 00FFFF - hidden
            cmdExit 408 0 209 49 |E&xit| S11b C000C0 - "Ti prego resta ancora, forse riuscirai a farmi uscire "
            cmdNext 200 0 214 49 |&Clicca per iniziare| S11b 00C000 - disabled "Go"
            Inizio 256 8 81 33 |Inizio| system - - hidden
            txtAnswer 368 112 185 80 || S64b 00FFFF - hidden disabled "Inserisci il risultato e  premi il tasto  Invio"
            Label6 -8 0 209 49 |Punti complessivi| S24 0000FF FFFF80 border centred
            lblMessage 104 248 441 41 || S32bi 00FFFF FF0000 hidden centred
            lblScore 40 56 81 65 || R48b FFFF00 - border centred "Questo è il tuo punteggio. Forza con il  record"
            lblnome 176 528 66 29 |nome| S24b - 0000FF
            lblconto 8 160 105 33 |00.00.00| K16 - FFFF00 border
            Label2 488 120 41 65 |X| S64 80FFFF - hidden disabled centred)")
                                      .split(u'\n', Qt::SkipEmptyParts)) {
            const QString name = row.trimmed().section(u' ', 0, 0);
            QTest::newRow(qPrintable(name)) << name << row.trimmed().section(u' ', 1);
        }
    }
    void everyKindOfControlIsAsDesigned() {
        QFETCH(QString, name);
        QFETCH(QString, design);
        WindowFixture f;
        f.tavola.buildWindow(); // as when first shown
        QWidget* widget = f.tavola.controlWidget(name);
        QCOMPARE(described(widget), design);
        if (auto* label = qobject_cast<QLabel*>(widget)) // a name with markup shows as typed
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void theWindowTimersAndTabOrderAreAsDesigned() {
        WindowFixture f;
        QCOMPARE(f.tavola.windowTitle(), QStringLiteral("Frulvane"));
        QCOMPARE(f.tavola.surface()->size(), QSize(608, 672));
        const auto* timer1 = f.tavola.findChild<QTimer*>(QStringLiteral("Timer1"));
        const auto* timer2 = f.tavola.findChild<QTimer*>(QStringLiteral("Timer2"));
        QCOMPARE(timer1->interval(), 1000);
        QCOMPARE(timer2->interval(), 1300);
        QVERIFY(timer1->isActive() && !timer2->isActive());
        f.start();
        f.game().backgroundClicked();
        QVERIFY(timer1->isActive() && timer2->isActive());
        // Fixed size: it can be minimised and closed, not maximised.
        QVERIFY(!(f.tavola.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(f.tavola.maximumSize(), f.tavola.minimumSize());
        QVERIFY(f.tavola.windowFlags() & Qt::WindowMinimizeButtonHint);
        QStringList chain;
        for (QWidget* w = f.widget("txtAnswer")->nextInFocusChain(); w != f.widget("txtAnswer");
             w = w->nextInFocusChain())
            if (w->parentWidget() == f.tavola.surface() && w->focusPolicy() != Qt::NoFocus)
                chain << w->objectName();
        QCOMPARE(chain, QStringList({"disparicmd", "paricmd", "Inizio", "cmdNext", "cmdExit",
                                     "paricmd1", "paricmd2", "disparicmd1", "disparicmd2"}));
    }

    // With the lesson the teacher fixed, the only one offered.
    void theMenuBarHasItsEntriesInOrder() {
        WindowFixture f;
        f.folders.config.lesson = {15, true};
        f.start();
        QVERIFY(f.tavola.menuBar()->sizeHint().width() <= 608); // none hidden behind "››"
        QStringList entries;
        for (QAction* top : f.tavola.menuBar()->actions()) {
            entries << top->objectName() + u'=' + top->text();
            if (top->menu())
                for (QAction* item : top->menu()->actions())
                    entries << "  " + item->objectName() + u'=' + item->text() +
                                   (item->isChecked() ? " (marked)" : "");
        }
        QCOMPARE(entries.join(u'\n'), QStringLiteral(R"(INFOMAZIONI=www.scuolaprimaria-esempio.it
  ca=Borgo Esempio
copy=Realizzato da Anna Rossi e Luca Bianchi
  via=Via dei Tigli 7 - giochi@esempio.it
Next=Nuovo gioco
Lezione=Lezione
  Lezione15=Multipli del 15 (marked)
  =
  Gara=Gara: 5 minuti, e il record (marked)
  Allenamento=Allenamento: senza tempo e senza record
  Ripasso=Ripasso: nessun numero da rivedere, i numeri che ingannano
  =
  Ritmo1300=Numeri veloci: un salto ogni 1,3 secondi (marked)
  Ritmo2000=Numeri più lenti: ogni 2 secondi (allenamento)
  Ritmo3000=Numeri lentissimi: ogni 3 secondi (allenamento)
  =
  LeggiAdAltaVoce=Leggi ad alta voce
Pausa=Pausa
hf=Help
  Ciao=Ciao campione, mi raccomando colpisci solo i multipli del 15
  ok=Ogni errore  ti farà perdere 4 punti.
  d=Un numero è divisibile per 15 se è divisibile sia per 3 che per 5
  h=Es 1365 è divisibile per 15 ed infatti è divisibile  sia per 3, essendo la somma delle cifre 15, e sia per 5)"));
        QCOMPARE(offeredLessons(f.tavola.menuBar()).filter(u"Multipli"),
                 QStringList("(x) Multipli del 15"));
    }

    void onlyClicksOnTheBackgroundCount() {
        WindowFixture f;
        f.start();
        for (const char* control : {"Label14", "lblScore", "cmdNext"})
            f.clickAt(f.widget(control)->geometry().center());
        QTest::mouseRelease(f.tavola.surface(), Qt::LeftButton, {}, {5, 600}); // pressed elsewhere
        QTest::mousePress(f.tavola.surface(), Qt::LeftButton, {}, {5, 600});
        QTest::mouseRelease(f.tavola.surface(), Qt::LeftButton, {}, {5, 700}); // released off it
        QVERIFY(!f.game().board.Timer2.isEnabled());
        f.clickAt(f.widget("paricmd")->geometry().center()); // a hidden button's place
        QVERIFY(f.game().board.Timer2.isEnabled());
        QCOMPARE(f.sound.played, QStringList({"/opt/zenobra" + QLatin1String(Sounds::laser)}));
    }

    void theKeyboardPlays_data() {
        QTest::addColumn<int>("key");
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return})
            QTest::newRow(qPrintable(QKeySequence(key).toString())) << int(key);
    }
    void theKeyboardPlays() {
        QFETCH(int, key);
        WindowFixture f;
        f.start();
        QWidget* surface = f.tavola.surface();
        QCOMPARE(f.tavola.focusWidget(), surface);
        // Neither with a modifier nor repeated by a key held down: those are no click.
        QTest::keyClick(surface, Qt::Key(key), Qt::ControlModifier);
        QKeyEvent held(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(surface, &held);
        QVERIFY(!f.game().board.Timer2.isEnabled());
        QTest::keyClick(surface, Qt::Key(key));
        QVERIFY(f.game().board.Timer2.isEnabled()); // a background click
        QApplication::setActiveWindow(&f.tavola);   // where P is the window's shortcut
        QTest::keyClick(surface, Qt::Key_P); // a pause, told in the menu bar; any key ends it
        QCOMPARE(f.tavola.menuBar()->findChild<QAction*>("Pausa")->text(), "Riprendi");
        QTest::keyClick(surface, Qt::Key_A);
        QVERIFY(!f.game().board.isPaused() && f.game().board.Timer2.isEnabled());
        Board& board = f.game().board;
        for (Control* button : {&board.paricmd, &board.disparicmd}) {
            button->show();
            QWidget* widget = f.tavola.controlWidget(button->name());
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key(key));
            // Hidden after the hit, it hands the focus to the play surface, not to the exit.
            QCOMPARE(f.tavola.focusWidget(), surface);
        }
        QCOMPARE(f.game().state.punti, qint16(-3));
        f.dialogs.answer(Answer::No); // Ctrl+N: a new match, asked first
        QTest::keyClick(surface, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
    }

    // Paused and taken up again at once, over and over, the clock's second goes on where it
    // was; a P held down is one press.
    void aPauseGivesNoTimeAway() {
        WindowFixture f;
        f.start();
        QApplication::setActiveWindow(&f.tavola);
        QVERIFY(QTest::qWaitForWindowActive(&f.tavola));
        auto* clock = f.tavola.findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(clock->isActive());
        for (int pause = 0; pause < 4; ++pause) {
            QTest::qWait(40);
            const int left = clock->remainingTime();
            QTest::keyClick(f.tavola.surface(), Qt::Key_P);
            QVERIFY(f.game().board.isPaused() && !clock->isActive());
            QTest::keyClick(f.tavola.surface(), Qt::Key_P);
            QVERIFY(clock->isActive());
            QVERIFY(clock->remainingTime() <= left); // not a whole second again
        }
        QWindow* window = f.tavola.windowHandle();
        qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_P, Qt::NoModifier, "p");
        for (int repeat = 0; repeat < 3; ++repeat)
            qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_P, Qt::NoModifier, "p", true);
        qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_P, Qt::NoModifier, "p");
        QCoreApplication::processEvents();
        QVERIFY(f.game().board.isPaused());
        // Once the rest of its second has run, the clock ticks each second again.
        QTest::keyClick(f.tavola.surface(), Qt::Key_P);
        QSignalSpy ticked(clock, &QTimer::timeout);
        QVERIFY(ticked.wait(5000));
        QCOMPARE(clock->interval(), 1000);
    }

    // A child's name is only text: on the window's labels, and in the boxes that greet them.
    void aNameIsOnlyText() {
        const QString name = QStringLiteral("<img src=/dev/zero>");
        WindowFixture f;
        f.start(name);
        f.game().board.lblnome.setCaption(QStringLiteral("<b>Bea</b>")); // a record's holder
        for (const QLabel* label : f.tavola.findChildren<QLabel*>())
            QVERIFY2(label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text()),
                     qPrintable(label->objectName()));
        QCOMPARE(f.widget("lblnome1")->property("text").toString(), name);
        QtDialogs dialogs;
        Qt::TextFormat shown = Qt::RichText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            shown = box ? box->textFormat() : Qt::RichText;
            if (box)
                box->accept();
        });
        dialogs.messageBox({" " + name + " vediamo se sei un vero campione  "});
        QCOMPARE(shown, Qt::PlainText);
    }

    // A wrong hit's warning on the real window: its first line as it always was, spaces and all,
    // the digits that matter marked below it, and the marks in words for a screen reader.
    void aWarningMarksTheDigitsThatMatter() {
        WindowFixture f;
        f.folders.config.lesson.value = 4;
        f.start();
        QtDialogs dialogs;
        MessageBoxRequest shown;
        dialogs.setParent(&f.tavola);
        f.dialogs.answer(Answer::Ok, [&] { shown = f.dialogs.shown.back().request; });
        f.game().board.disparicmd.setCaption(QStringLiteral("1306"));
        f.game().controlClicked(f.game().board.disparicmd);
        QString label, description;
        QTimer::singleShot(0, [&] {
            auto* box = QApplication::activeModalWidget();
            auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            label = text->textFormat() == Qt::RichText ? text->text() : QString();
            description =
                QAccessible::queryAccessibleInterface(text)->text(QAccessible::Description);
            static_cast<QDialog*>(box)->accept();
        });
        dialogs.messageBox(shown);
        QCOMPARE(label, "<p style=\"white-space: pre-wrap\">Attenzione!  1306  non è  un numero "
                        "divisibile per 4</p><p>Infatti le sue ultime due cifre, <b><u>06</u></b>, "
                        "non sono 00 e non formano un numero divisibile per 4.<br>13<b><u>0</u></b>"
                        "<b><u>6</u></b> : 4 = 326 con il resto di 2.</p>");
        QCOMPARE(description, "Nel numero 1306 contano le ultime due cifre, 06.");
    }

    void theMenusWorkFromTheKeyboard_data() {
        QTest::addColumn<int>("key"); // what takes the menu bar
        for (Qt::Key key : {Qt::Key_F10, Qt::Key_Alt})
            QTest::newRow(qPrintable(QKeySequence(key).toString())) << int(key);
    }
    void theMenusWorkFromTheKeyboard() {
        QFETCH(int, key);
        WindowFixture f;
        f.start();
        QApplication::setActiveWindow(&f.tavola);
        QVERIFY(QTest::qWaitForWindowActive(&f.tavola));
        QMenuBar* bar = f.tavola.menuBar();
        // One Escape in an open menu gives the keyboard back, as one Escape in the bar does.
        press(Qt::Key(key));
        press(Qt::Key_Down);
        QVERIFY(QApplication::activePopupWidget());
        press(Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(!bar->activeAction() && f.tavola.focusWidget() == f.tavola.surface());
        QApplication::setActiveWindow(&f.tavola); // offscreen, the closed menu keeps it
        for (Qt::Key last : {Qt::Key_Escape, Qt::Key_Return}) { // Escape lets the entry go
            press(Qt::Key(key));
            if (key == Qt::Key_F10 && last == Qt::Key_Escape)
                press(Qt::Key_F10); // again: the way back is kept
            QVERIFY(bar->activeAction() && bar->activeAction()->objectName() == "INFOMAZIONI");
            press(Qt::Key_Right);
            press(Qt::Key_Right);
            QCOMPARE(bar->activeAction()->text(), QStringLiteral("Nuovo gioco"));
            QVERIFY(marked(bar, bar->activeAction()));
            press(last);
            QVERIFY(!bar->activeAction() && f.tavola.focusWidget() == f.tavola.surface());
        }
        QCoreApplication::processEvents(); // the entry is triggered once the keys are handled
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
        QVERIFY(!f.game().board.Timer2.isEnabled()); // not a click on the background
    }

    // F10, the arrows and Return, then the mouse: each asks the new-match question first.
    void aLessonIsChosenFromTheMenuByKeyboardOrMouse() {
        WindowFixture f;
        f.start();
        QApplication::setActiveWindow(&f.tavola);
        QVERIFY(QTest::qWaitForWindowActive(&f.tavola));
        QMenuBar* bar = f.tavola.menuBar();
        auto* three = bar->findChild<QAction*>(QStringLiteral("Lezione3"));
        f.dialogs.answer(Answer::No);
        for (Qt::Key key : {Qt::Key_F10, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down,
                            Qt::Key_Down, Qt::Key_Return})
            press(key);
        QCoreApplication::processEvents(); // the entry is triggered once the menu has closed
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
        QVERIFY(!three->isChecked() && bar->findChild<QAction*>("Lezione15")->isChecked());
        f.dialogs.answer(Answer::Yes);
        f.dialogs.type(QStringLiteral("Luca"));
        QMenu* lessons = bar->findChild<QMenu*>(QStringLiteral("Lezione"));
        lessons->popup({0, 0});
        QTest::mouseClick(lessons, Qt::LeftButton, {}, lessons->actionGeometry(three).center());
        QCOMPARE(f.tavola.windowTitle(), QStringLiteral("Frulvane - Multipli del 3"));
        QCOMPARE(f.folders.remembered, QStringLiteral("3"));
        QCOMPARE(bar->findChild<QAction*>("Ciao")->text(),
                 QStringLiteral("Ciao campione, mi raccomando colpisci solo i multipli del 3"));
        f.dialogs.answer(Answer::Yes); // a slower pace keeps no record: never ticked as a race
        bar->findChild<QAction*>("Ritmo2000")->trigger();
        QVERIFY(bar->findChild<QAction*>("Allenamento")->isChecked());
        f.dialogs.answer(Answer::Yes); // and a race is played at the race's pace
        bar->findChild<QAction*>("Gara")->trigger();
        QVERIFY(bar->findChild<QAction*>("Ritmo1300")->isChecked());
    }

    void noKeyReachesANumberOffTheWindow() {
        WindowFixture f;
        f.start();
        Board& board = f.game().board;
        board.paricmd.show();
        QWidget* paricmd = f.widget("paricmd");
        paricmd->setFocus();
        board.paricmd.setLeft(700); // wholly right of the window
        QCOMPARE(f.tavola.focusWidget(), f.tavola.surface());
        QCOMPARE(QAccessible::queryAccessibleInterface(paricmd)->text(QAccessible::Description),
                 QStringLiteral("fuori dalla finestra"));
        board.paricmd.setLeft(540); // its left part is seen
        paricmd->setFocus();
        QCOMPARE(f.tavola.focusWidget(), paricmd);
        QCOMPARE(QAccessible::queryAccessibleInterface(paricmd)->text(QAccessible::Description),
                 QString());
        // Made smaller from outside: what is cut off, the exit too, takes no key.
        f.tavola.windowHandle()->resize(400, 300);
        QCoreApplication::processEvents();
        for (int press = 0; press < 12; ++press) {
            QVERIFY(f.tavola.focusWidget() != paricmd &&
                    f.tavola.focusWidget() != f.widget("cmdExit"));
            QTest::keyClick(f.tavola.focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(f.widget("cmdExit"))
                     ->text(QAccessible::Description),
                 QStringLiteral("fuori dalla finestra"));
    }

    // A window system that ignores the fixed size, as a tiling manager does.
    void aWindowForcedLargerShowsNothingUnpaintedNorPastTheField() {
        WindowFixture f;
        f.start();
        f.tavola.windowHandle()->resize(1100, 950);
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(f.tavola.size(), QSize(1100, 950));
        f.game().board.paricmd.show();
        f.game().board.paricmd.setLeft(700); // beyond the field's right edge, within the window
        QCOMPARE(f.widget("paricmd")->focusPolicy(), Qt::NoFocus); // no key reaches it
        // What the window system is given to show, unpainted parts and all.
        const QImage shown = f.tavola.screen()->grabWindow(f.tavola.winId()).toImage();
        const QRect field(f.tavola.surface()->mapTo(&f.tavola, QPoint()), QSize(608, 672));
        const QPoint past = field.topLeft() + f.widget("paricmd")->geometry().center();
        QVERIFY(f.tavola.childAt(past) != f.widget("paricmd"));
        const QRgb around = shown.pixel(past);
        int unpainted = 0;
        for (int y = f.tavola.menuBar()->height(); y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                unpainted += !field.contains(x, y) && shown.pixel(x, y) != around;
        QCOMPARE(unpainted, 0);
        QCOMPARE(QColor(around), f.tavola.centralWidget()->palette().color(QPalette::Window));
        // The field shows the gradient: blue 255 in its last band, over the red and green.
        const GameState& s = f.game().state;
        QCOMPARE(QColor(shown.pixel(field.bottomLeft() + QPoint(300, 0))),
                 QColor(20 * s.num1, 20 * s.num2, 255));
    }

    // A new gradient shows at once: the drawing tells the window, which paints the field again.
    void aNewDrawingIsPaintedAtOnce() {
        struct Paints : QObject {
            bool eventFilter(QObject*, QEvent* event) override {
                count += event->type() == QEvent::Paint;
                return false;
            }
            int count = 0;
        } paints;
        WindowFixture f;
        f.start();
        QCoreApplication::processEvents();
        f.tavola.surface()->installEventFilter(&paints);
        f.game().questionBoard.paintGradient(3, 7);
        QCoreApplication::processEvents();
        QVERIFY(paints.count > 0);
    }

    void theWidestNumbersAreReadWholeAtEveryScale_data() {
        QTest::addColumn<qreal>("scale");
        for (qreal scale : {1.0, 1.5, 2.0})
            QTest::addRow("%g", scale) << scale;
    }
    void theWidestNumbersAreReadWholeAtEveryScale() {
        QFETCH(qreal, scale);
        WindowFixture f;
        f.start();
        auto* button = static_cast<GraphicButton*>(f.widget("disparicmd"));
        const int frame = qCeil(3 * scale); // a cut caption's ink runs to the edges
        // The columns and rows of the caption's ink, inside the button's raised frame.
        const auto ink = [&](const QString& caption) {
            button->setText(caption);
            QImage image(button->size() * scale, QImage::Format_RGB32);
            image.setDevicePixelRatio(scale);
            button->render(&image);
            QRect inked;
            for (int y = frame; y < image.height() - frame; ++y)
                for (int x = frame; x < image.width() - frame; ++x)
                    if (qGray(image.pixel(x, y)) < 60)
                        inked |= QRect(x, y, 1, 1);
            return std::make_pair(inked, image.width() - 2 * frame);
        };
        // 13,506: the widest number a hit or a jump can give.
        const auto [widest, room] = ink(QStringLiteral("13506"));
        // Inside the frame, and shrunk just enough: the ink fills the room but for its bearings.
        QVERIFY2(
            widest.width() >= room - qCeil(4 * scale) && widest.left() > frame &&
                widest.right() < frame + room - 1,
            qPrintable(QString::asprintf("ink %d..%d of %d", widest.left(), widest.right(), room)));
        // A number that fits keeps the designed size: as tall as any other that fits.
        const int designed = ink(QStringLiteral("15")).first.height();
        QVERIFY(qAbs(designed -
                     QFontMetricsF(button->font()).tightBoundingRect("15").height() * scale) <= 1);
        QVERIFY(qAbs(ink(QStringLiteral("1500")).first.height() - designed) <= 1);
        QVERIFY(widest.height() < designed - 1);
    }

    void assistiveToolsAreOfferedTheShownControlsByName() {
        WindowFixture f;
        f.start();
        QAccessibleInterface* surface = QAccessible::queryAccessibleInterface(f.tavola.surface());
        QCOMPARE(surface->text(QAccessible::Name), QStringLiteral("Campo di gioco"));
        const auto offered = [&] {
            QStringList names;
            for (int i = 0; i < surface->childCount(); ++i)
                names << surface->child(i)->text(QAccessible::Name) +
                             (surface->indexOfChild(surface->child(i)) == i ? "" : "(misplaced)");
            return names;
        };
        // Labels in their stored order, then the buttons that lie above them; the question's
        // labels, its answer box and "Inizio" are hidden, and so not there.
        const QStringList shown{"Punti complessivi",  "Punteggio",      "0",
                                "Record: nessuno",    "con punti",      "Campione: nessuno",
                                "Il record  è di",    "Anna",           "Sfidante",
                                "00:05:00",           "Tempo restante", "Exit",
                                "Clicca per iniziare"};
        QCOMPARE(offered(), shown);
        f.game().board.paricmd.show();
        QCOMPARE(offered().size(), shown.size() + 1);
        QVERIFY(offered().contains(f.game().board.paricmd.caption()));
        // Eleven lessons, a match, a practice match or a review, three paces: one checked in each.
        const QStringList lessons = offeredLessons(f.tavola.menuBar());
        QCOMPARE(lessons.size(), 17);
        QCOMPARE(lessons.filter(QStringLiteral("(x) ")).size(), 3);
        QCOMPARE(lessons[9], QStringLiteral("(x) Multipli del 15"));
    }

    // The longest values: whole, inside the window, the row in order; as designed in a new match.
    void theLongestValuesAreReadWholeAndANewMatchPutsThemBack_data() {
        QTest::addColumn<QString>("score"); // the match's, and the record's
        QTest::addColumn<QString>("name");  // the player's, and the champion's
        QTest::newRow("32767, 20 letters") << " 32767"
                                           << "Mariagrazia Ludovica";
        QTest::newRow("-32768") << "-32768"
                                << "Bea";
        QTest::newRow("60 letters") << " 123" << QString(60, u'W');
    }
    void theLongestValuesAreReadWholeAndANewMatchPutsThemBack() {
        QFETCH(QString, score);
        QFETCH(QString, name);
        WindowFixture f;
        f.start(name);
        Board& board = f.game().board;
        board.lblpunti.setCaption(score + "\r\n"); // as the record files hold them
        board.lblnome.setCaption(name + "\r\n");
        board.Punteggio.setCaption(score);
        const auto at = [&](const char* name) { return f.widget(name)->geometry(); };
        for (const char* name :
             {"Label12", "lblnome", "Label13", "lblpunti", "Punteggio", "lblnome1"}) {
            auto* label = static_cast<QLabel*>(f.widget(name));
            const QString caption = board.find(QString::fromLatin1(name))->caption();
            // Whole, or past the smallest font, cut with "…" and whole in the tooltip.
            QVERIFY2(QRect(0, 0, 608, 672).contains(at(name)) &&
                         label->sizeHint().width() <= at(name).width() &&
                         label->font().pixelSize() >= 10 &&
                         (label->text() == caption ||
                          (label->text().endsWith(u'…') && label->toolTip() == caption)),
                     name);
        }
        // Each part of the row ends before the next begins; the score lies in its box.
        QVERIFY(at("Label12").right() < at("lblnome").left() &&
                at("lblnome").right() < at("Label13").left() &&
                at("Label13").right() < at("lblpunti").left());
        QVERIFY(at("lblScore").contains(at("Punteggio")));
        f.dialogs.answer(Answer::Yes);
        f.game().menuClicked(u"Next");
        QCOMPARE(f.widget("Label13")->geometry(), QRect(448, 528, 97, 29));
        QCOMPARE(f.widget("lblnome")->font().pixelSize(), 24);
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
