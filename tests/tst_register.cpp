// The teacher's window on the class register, offscreen, by keyboard too.
#include "FakeFolders.h"
#include "HandWritten.h"
#include "teacher/RegisterWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray match(const QString& name, int lesson, const char* day = "2026-10-01 09:00:00") {
    return QStringLiteral("%1;alunno;%2;%3;gara;1;1;0;;uscita;60;no\r\n")
        .arg(QLatin1String(day), name)
        .arg(lesson)
        .toUtf8();
}

struct Opened {
    explicit Opened(const QByteArray& bytes) {
        QFile file(path());
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QString path() const { return dir.filePath(QStringLiteral("registro.csv")); }
    template <typename T> T* find(const char* name) { return window.findChild<T*>(name); }
    QString status() { return find<QLabel>("stato")->text(); }
    QStringList rows() const {
        QStringList rows;
        const QAbstractItemModel* model = window.table()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            rows << cells.join(u'|');
        }
        return rows;
    }
    QStringList lines() const {
        QStringList lines;
        for (QAbstractSeries* series : window.chart()->chart()->series())
            lines << QStringLiteral("%1: %2")
                         .arg(series->name())
                         .arg(static_cast<QLineSeries*>(series)->count());
        return lines;
    }
    // Every text the chart draws, as it draws it.
    QStringList drawn() const {
        QStringList texts;
        for (QGraphicsItem* item : window.chart()->scene()->items())
            if (auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item))
                texts << text->toPlainText().simplified(); // a title's lines as one
        return texts;
    }
    void show() {
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QTemporaryDir dir;
    RegisterWindow window;
};

} // namespace

class RegisterTest : public QObject {
    Q_OBJECT

private slots:
    void theChartFollowsTheChildChosenByKeyboard() {
        Opened o(handWritten);
        o.window.load(o.path());
        o.show();
        QCOMPARE(QApplication::focusWidget(), o.window.table());
        QCOMPARE(o.window.chart()->accessibleDescription(),
                 "I punteggi di Anna in allenamento. Lezione del 3: 1 partita il 03/10/2026, "
                 "ultimo punteggio 4; Lezione del 15: 1 partita il 03/10/2026, ultimo punteggio "
                 "20.");
        QCOMPARE(o.lines(), QStringList({"Lezione del 3: 1", "Lezione del 15: 1"}));
        QTest::keyClick(o.window.table(), Qt::Key_Down);
        QCOMPARE(o.window.chart()->accessibleDescription(),
                 "I punteggi di Anna in gara. Lezione del 15: 3 partite dal 01/10/2026 al "
                 "03/10/2026, ultimo punteggio -1.");
        QTest::keyClick(o.window.table(), Qt::Key_Down);
        QTest::keyClick(o.window.table(), Qt::Key_Down);
        QCOMPARE(
            o.window.chart()->accessibleDescription(),
            "I punteggi di Anna in gara. Lezione del 15: 1 partita il 04/10/2026, ultimo punteggio "
            "2.");
        // A new filter: still her, and the chart drawn once, the one before it gone.
        const QPointer<QChart> before = o.window.chart()->chart();
        o.find<QComboBox>("lezione")->setCurrentIndex(2);
        QVERIFY(before.isNull());
        QCOMPARE(o.lines(), QStringList("Lezione del 15: 1"));
        QCOMPARE(o.rows().at(o.window.table()->currentIndex().row()).section(u'|', 1, 1),
                 "alunno02");
        // Tab leaves the table for the chart, which a screen reader hears and the eye sees;
        // then the filters; a label's letter reaches its field.
        const QImage unfocused = o.window.chart()->grab().toImage();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), o.window.chart());
        QAccessibleInterface* focused =
            QAccessible::queryAccessibleInterface(&o.window)->focusChild();
        for (int depth = 0; depth < 8 && focused && focused->focusChild() &&
                            focused->focusChild()->object() != focused->object();
             ++depth)
            focused = focused->focusChild();
        QVERIFY(focused);
        QCOMPARE(focused->text(QAccessible::Name), "Punteggi nel tempo");
        QCOMPARE(focused->text(QAccessible::Description),
                 o.window.chart()->accessibleDescription());
        const QImage framed = o.window.chart()->grab().toImage();
        const QColor highlight = o.window.palette().color(QPalette::Highlight);
        QCOMPARE(framed.pixelColor(framed.width() / 2, 1), highlight);
        QVERIFY(unfocused.pixelColor(unfocused.width() / 2, 1) != highlight);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), o.find<QComboBox>("lezione"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), o.find<QDateEdit>("al"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!o.window.isVisible());
    }

    // A day typed is taken as typed, whatever the days of the register.
    void aTypedDayIsTakenAsTyped() {
        Opened o(handWritten);
        o.window.load(o.path());
        o.show();
        auto* to = o.find<QDateEdit>("al");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        QTest::keyClicks(to, "15.10/2026");
        QCOMPARE(to->date(), QDate(2026, 10, 5)); // not before the day is whole
        QTest::keyClick(to, Qt::Key_Return);
        QCOMPARE(to->date(), QDate(2026, 10, 15));
        QCOMPARE(o.status(), "Nella tabella 8 partite su 8 del registro. 9 righe rovinate non sono "
                             "state lette.");
    }

    // Eleven lessons in one chart: each its own colour, and its name whole at any scale.
    void elevenLessonsEachReadWhole() {
        QByteArray bytes = ClassRegister::header;
        for (const int lesson : Settings::lessons)
            bytes += match("Anna", lesson);
        Opened o(bytes);
        o.window.load(o.path());
        o.show();
        QCOMPARE(o.find<QComboBox>("lezione")->itemText(8), "Lezione dell'11");
        QSet<QRgb> colours;
        for (QAbstractSeries* series : o.window.chart()->chart()->series())
            colours << static_cast<QLineSeries*>(series)->color().rgb();
        QCOMPARE(colours.size(), 11);
        // Each name whole, in sight within the window.
        QStringList shown;
        for (const QLabel* name : o.find<QWidget>("legenda")->findChildren<QLabel*>())
            if (name->isVisible() &&
                o.window.rect().contains(QRect(name->mapTo(&o.window, QPoint()), name->sizeHint())))
                shown << name->text();
        for (const int lesson : Settings::lessons) {
            const QString name = lesson == 11 ? QStringLiteral("Lezione dell'11")
                                              : QStringLiteral("Lezione del %1").arg(lesson);
            QVERIFY2(shown.contains(name), qPrintable(shown.join(u'|')));
        }
    }

    // Whatever a child types as a name is shown as typed, never read as markup: in the table,
    // the chart, what a screen reader gets, the status and the export.
    void aChildsNameIsOnlyText_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("bold") << "<b>x</b>";
        QTest::newRow("an endless picture") << "<img src=/dev/zero>";
        QTest::newRow("a file's picture") << "<img src=/etc/hostname>";
    }
    void aChildsNameIsOnlyText() {
        QFETCH(QString, name);
        ::alarm(60); // a name read as a picture of /dev/zero would hold the test: end it
        Opened o(ClassRegister::header + match(name, 15));
        o.window.load(o.path());
        o.show();
        QCOMPARE(o.rows().first().section(u'|', 0, 0), name);
        QVERIFY2(o.drawn().contains("I punteggi di " + name + " in gara"),
                 qPrintable(o.drawn().join(u'|')));
        QVERIFY(o.window.chart()->accessibleDescription().startsWith("I punteggi di " + name));
        const QString path = o.dir.filePath(QStringLiteral("tabella.csv"));
        QCOMPARE(o.window.exportTable(path), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains('\n' + name.toUtf8() + ';'));
        ::alarm(0);
        // A folder named as markup, quoted by the status.
        QVERIFY(QDir(o.dir.path()).mkdir(name.section(u'/', 0, 0)));
        const QString missing = o.dir.filePath(name.section(u'/', 0, 0) + "/registro.csv");
        o.window.load(missing);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(o.find<QLabel>("stato"))->text(QAccessible::Name),
            "Il registro " + missing + " non c'è ancora: nasce alla fine della prima partita.");
    }

    void theTableIsExportedAsItIsSorted() {
        Opened o(handWritten);
        o.window.load(o.path());
        o.show();
        // A click on a title sorts by it, numbers as numbers; the export follows.
        QHeaderView* titles = o.window.table()->horizontalHeader();
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                          QPoint(titles->sectionViewportPosition(5) + 5, titles->height() / 2));
        QCOMPARE(titles->sortIndicatorSection(), 5);
        const QString path = o.dir.filePath(QStringLiteral("tabella.csv"));
        QCOMPARE(o.window.exportTable(path), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 "\xEF\xBB\xBFNome;Utente;Lezione;Tipo;Partite;Punteggio migliore;Ultimo "
                 "punteggio;Errori a partita;Numeri sbagliati più spesso;Tipo di errore;Multipli "
                 "lasciati a partita\r\n"
                 "Anna;alunno02;15;ripasso;1;-2;-2;1,0;47 (1 volta);presi per multipli di 15: 1 "
                 "altro;2,0\r\n"
                 "\"Bea \"\"B\"\"; 3A\";alunno03;15;gara;1;1;1;0,0;;;0,0\r\n"
                 "Anna;alunno02;15;gara;1;2;2;0,0;;;0,0\r\n"
                 "Anna;alunno01;3;allenamento;1;4;4;0,0;;;0,0\r\n"
                 "Anna;alunno01;15;gara;3;12;-1;1,0;52 (2 volte), 47 (1 volta);presi per multipli "
                 "di 15: 3 altri;0,0\r\n"
                 "Anna;alunno01;15;allenamento;1;20;20;0,0;;;0,0\r\n");
        QVERIFY(!(file.permissions() & (QFile::ReadOther | QFile::WriteOther)));
    }

    // What no game writes is held off: stray lessons are lines that are no match, a register of
    // more children than a school has, or larger than a school's years, is refused.
    void aHostileRegisterIsHeldOff_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("told"); // %1 the path
        QTest::addColumn<int>("rows");
        QByteArray stray = ClassRegister::header + match("Anna", 3);
        for (int lesson = 100; lesson < 10100; ++lesson)
            stray += match("Anna", lesson);
        QByteArray crowd = ClassRegister::header;
        for (int child = 0; child < 5001; ++child)
            crowd += match(QString::number(child), 15);
        const QString refused = QStringLiteral("Non riesco a leggere il registro %1: ");
        // clang-format off
        QTest::newRow("10,000 stray lessons") << stray << QString() << 1;
        QTest::newRow("5,001 children") << crowd << refused + "ha le partite di più di 5000 bambini, e non sembra il registro di una classe." << 0;
        // clang-format on
    }
    void aHostileRegisterIsHeldOff() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, told);
        QFETCH(int, rows);
        Opened o(bytes);
        QCOMPARE(o.window.load(o.path()), told.arg(o.path()));
        QCOMPARE(o.rows().size(), rows);
        QVERIFY(o.find<QComboBox>("lezione")->count() <= 2);
        if (rows)
            QVERIFY(o.status().endsWith(" 10000 righe rovinate non sono state lette."));
    }

    // Turned off by the teacher, the register is said to be off, not to come.
    // The class at a glance and the kinds of mistake, as a screen reader gets them.
    void theClassIsReadCellByCell() {
        Opened o("2026-10-01 09:00:00;u1;Anna;15;gara;0;8;2;47 48;uscita;300;no\n"
                 "2026-10-03 09:00:00;u1;Anna;12;gara;0;1;3;18 27 16;uscita;300;no;48\n"
                 "2026-10-03 09:00:00;u2;Bea;15;gara;0;0;0;;uscita;300;no\n");
        o.window.load(o.path());
        QAccessibleTableInterface* grid =
            QAccessible::queryAccessibleInterface(o.window.classGrid())->tableInterface();
        QStringList cells;
        for (int row = 0; row < grid->rowCount(); ++row)
            for (int column = 0; column < grid->columnCount(); ++column)
                cells << grid->cellAt(row, column)->text(QAccessible::Name);
        QCOMPARE(cells, QStringList({"Anna", "Anna, lezione del 12: 25% di colpi giusti, 1 su 4",
                                     "Anna, lezione del 15: 80% di colpi giusti, 8 su 10", "Bea",
                                     "Bea, lezione del 12: nessuna gara",
                                     "Bea, lezione del 15: nessuna gara"}));
        QCOMPARE(o.window.classWrong()->text(),
                 "I numeri che la classe sbaglia più spesso:\nLezione del 12: 16 (1 volta), 18 "
                 "(1 volta), 27 (1 volta)\nLezione del 15: 47 (1 volta), 48 (1 volta)");
        QCOMPARE(o.rows().mid(0, 2),
                 QStringList({"Anna|u1|12|gara|1|0|0|3,0|16 (1 volta), 18 (1 volta), 27 (1 "
                              "volta)|presi per multipli di 12: 2 multipli di 3, 1 multiplo di "
                              "4|1,0",
                              "Anna|u1|15|gara|1|0|0|2,0|47 (1 volta), 48 (1 volta)|presi per "
                              "multipli di 15: 1 multiplo di 3, 1 altro|0,0"}));
    }

    // A page for each child's parents from the command line, with no window: its text whole,
    // a name only text, each file the teacher's.
    void aPageForEachChildsParents() {
        QTemporaryDir dir;
        const QString path = dir.filePath("registro.csv"), pages = dir.filePath("pagine");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && QDir(dir.path()).mkdir("pagine"));
        file.write("2026-10-01 09:00:00;u1;Anna;15;gara;5;9;1;47;uscita;300;sì\n"
                   "2026-10-02 09:00:00;u1;Anna;15;gara;12;16;1;48;tempo scaduto;300;sì;45\n"
                   "2026-10-03 09:00:00;u1;Anna;12;ripasso;3;11;2;18 16;uscita;300;no;\n"
                   "2026-10-03 09:00:00;u2;<b>Bea</b>;15;gara;3;3;0;;uscita;300;no;\n"
                   "2026-10-04 09:00:00;u3;<b>Bea</b>;15;gara;7;7;0;;uscita;300;no;\n");
        file.close();
        QProcess registro;
        QProcessEnvironment screenless = QProcessEnvironment::systemEnvironment();
        screenless.remove("DISPLAY");
        screenless.remove("QT_QPA_PLATFORM");
        registro.setProcessEnvironment(screenless);
        registro.start(REGISTRO, {path, "--stampa", pages});
        QVERIFY2(registro.waitForFinished(60000), "the pages hang");
        QCOMPARE(registro.exitCode(), 0);
        QCOMPARE(registro.readAllStandardOutput(),
                 "zenobra-registro: le pagine sono in " + pages.toUtf8() + '\n');
        QStringList files = QDir(pages).entryList(QDir::Files);
        std::ranges::sort(files);
        QCOMPARE(files, QStringList({"Anna.pdf", "_b_Bea__b_ (u2).pdf", "_b_Bea__b_ (u3).pdf"}));
        const auto text = [&](const QString& name) {
            QProcess pdftotext;
            pdftotext.start("pdftotext", {QDir(pages).filePath(name), "-"});
            pdftotext.waitForFinished(60000);
            return QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n');
        };
        const QStringList anna = text("Anna.pdf"), bea = text("_b_Bea__b_ (u3).pdf");
        QVERIFY(!(QFile::permissions(QDir(pages).filePath("Anna.pdf")) & QFile::ReadOther));
        for (const char* line :
             {"Zenobra: i progressi di Anna", "Le partite dal 01/10/2026 al 03/10/2026.",
              "Lezione del 12: 16 (1 volta), 18 (1 volta); presi per multipli di 12: 1 multiplo "
              "di 3, 1 multiplo di 4.",
              "Lezione del 15: 47 (1 volta), 48 (1 volta); presi per multipli di 15: 1 multiplo "
              "di 3, 1 altro.",
              "93%"})
            QVERIFY2(anna.contains(QString::fromUtf8(line)), qPrintable(anna.join(u'\n')));
        for (const char* line :
             {"Zenobra: i progressi di <b>Bea</b>", "Le partite dal 04/10/2026 al 04/10/2026.",
              "Nessun numero sbagliato."})
            QVERIFY2(bea.contains(QString::fromUtf8(line)), qPrintable(bea.join(u'\n')));
    }

    // A child erased from the window, after a question, and the class record of theirs too: the
    // child by the name typed last.
    void aChildIsErasedWithTheirRecord() {
        Opened o(match("Anna", 15) + match("Bea", 15) + match("anna", 12));
        QFile score(o.dir.filePath("aquarvel.txt")), name(o.dir.filePath("quarvel.txt"));
        QVERIFY(score.open(QIODevice::WriteOnly) && name.open(QIODevice::WriteOnly));
        score.write(" 9\r\n");
        name.write("ANNA\r\n");
        score.close();
        name.close();
        o.window.load(o.path());
        QStringList asked;
        QTimer answering;
        connect(&answering, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked << box->text();
                box->button(QMessageBox::Yes)->click();
            }
        });
        answering.start(20);
        QCOMPARE(o.window.eraseChosen(), "Ho cancellato dal registro 2 partite di anna. Ho "
                                         "cancellato il record della lezione del 15.");
        QCOMPARE(asked, QStringList({"Cancello dal registro tutte le partite di anna (utente "
                                     "alunno)? Non si potranno più recuperare.",
                                     "Anche il record della lezione del 15 è di anna, con 9 "
                                     "punti. Lo cancello?"}));
        QCOMPARE(QFile(o.path()).size(), match("Bea", 15).size());
        QCOMPARE(QFileInfo(score).size() + QFileInfo(name).size(), 0);
        QCOMPARE(o.rows().size(), 1);
    }

    void aRegisterTurnedOffIsSaidToBeOff_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("written"); // lines from before it was turned off
        QTest::addColumn<QString>("told");
        const QString off = "Il registro è spento nelle impostazioni di sistema ([register] "
                            "enabled=no): le partite non vengono scritte.";
        QTest::newRow("none") << "no" << false << off;
        QTest::newRow("lines from before")
            << "off" << true << off + " Qui ci sono quelle scritte prima.";
        QTest::newRow("on") << "sì" << true << "";
    }
    void aRegisterTurnedOffIsSaidToBeOff() {
        QFETCH(QString, setting);
        QFETCH(bool, written);
        QFETCH(QString, told);
        FakeFolders folders;
        folders.config = Settings::parse({{"register/enabled", setting}}, {});
        if (written) {
            QFile file(ClassRegister::path(folders.dir.path()));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(handWritten);
        }
        RegisterWindow window;
        QCOMPARE(window.loadClassRegister(folders), told);
        QCOMPARE(window.table()->model()->rowCount(), written ? 6 : 0);
    }
};

QTEST_MAIN(RegisterTest)
#include "tst_register.moc"
