// The teacher's window on the class register, offscreen: its table, chart and filters, by
// keyboard too, what it exports, and the registers it cannot read.
#include "ClassYear.h"
#include "desktop/RegisterWindow.h"

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineSeries>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// As the game writes it, or a spreadsheet saves it: one child typed two ways, another Anna on
// another login, quotes and a semicolon in a name, two lines that are no match (a word for a
// score, a sign in a date), one being written.
const QByteArray handWritten =
    "\xEF\xBB\xBF"
    "data e ora;utente;nome;lezione;tipo;punteggio;giusti;sbagliati;numeri sbagliati;fine;"
    "durata in secondi;record\r\n"
    "2026-10-01 09:00:00;alunno01;Anna;15;gara;5;5;0;;uscita;300;sì\r\n"
    "2026-10-02 09:00:00;alunno01;anna ;15;gara;12;16;1;52;tempo scaduto;300;sì\r\n"
    "2026-10-03 09:00:00;alunno01;Anna;15;gara;-1;7;2;47 52;uscita;200;no\r\n"
    "2026-10-03 10:00:00;alunno01;Anna;3;allenamento;4;4;0;;nuova gara;60;no\n"
    "2026-10-04 09:00:00;alunno02;Anna;15;gara;2;2;0;;finestra chiusa;30;no\r\n"
    "2026-10-05 09:00:00;alunno03;\"Bea \"\"B\"\"; 3A\";15;gara;1;1;0;;uscita;100;no\r\n"
    "2026-10-06 09:00:00;alunno03;Bea;15;gara;tanti;1;0;;uscita;100;no\r\n"
    "-026-10-06 09:00:00;alunno03;Bea;15;gara;1;1;0;;uscita;100;no\r\n"
    "2026-10-07 09:00:00;alunno03;Bea;15";

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
    QTemporaryDir dir;
    RegisterWindow window;
};

} // namespace

class RegisterTest : public QObject {
    Q_OBJECT

private slots:
    void theTableSaysWhatEachChildDid_data() {
        QTest::addColumn<int>("lesson");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("status");
        const QString skipped = QStringLiteral(" 2 righe rovinate non sono state lette.");
        const QString all = QStringLiteral("6 partite in tutto nel registro.") + skipped;
        const QString anna3 = "Anna|alunno01|3|1|4|4|0,0|", anna2 = "Anna|alunno02|15|1|2|2|0,0|";
        // clang-format off
        QTest::newRow("all") << 0 << QDate() << QDate() << QStringList{anna3, "Anna|alunno01|15|3|12|-1|1,0|52 (2 volte), 47 (1 volta)", anna2, "Bea \"B\"; 3A|alunno03|15|1|1|1|0,0|"} << all;
        QTest::newRow("the lesson of 3") << 3 << QDate() << QDate() << QStringList{anna3} << all;
        QTest::newRow("3 and 4 October") << 0 << QDate(2026, 10, 3) << QDate(2026, 10, 4) << QStringList{anna3, "Anna|alunno01|15|1|-1|-1|2,0|47 (1 volta), 52 (1 volta)", anna2} << all;
        QTest::newRow("none those days") << 3 << QDate(2026, 10, 4) << QDate(2026, 10, 5) << QStringList{} << "Nessuna partita in questi giorni." + skipped;
        // clang-format on
    }
    void theTableSaysWhatEachChildDid() {
        QFETCH(int, lesson);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, rows);
        QFETCH(QString, status);
        Opened o(handWritten);
        QCOMPARE(o.window.load(o.path()), QString());
        QCOMPARE(o.find<QDateEdit>("dal")->date(), QDate(2026, 10, 1));
        QCOMPARE(o.find<QDateEdit>("al")->date(), QDate(2026, 10, 5)); // the last match read
        auto* lessons = o.find<QComboBox>("lezione");
        QCOMPARE(lessons->count(), 3); // all, 3 and 15
        lessons->setCurrentIndex(lessons->findData(lesson));
        if (from.isValid()) {
            o.find<QDateEdit>("dal")->setDate(from);
            o.find<QDateEdit>("al")->setDate(to);
        }
        QCOMPARE(o.rows(), rows);
        QCOMPARE(o.status(), status);
    }

    void theChartFollowsTheChildChosenByKeyboard() {
        Opened o(handWritten);
        o.window.load(o.path());
        o.window.show();
        QApplication::setActiveWindow(&o.window);
        QVERIFY(QTest::qWaitForWindowActive(&o.window));
        QCOMPARE(QApplication::focusWidget(), o.window.table());
        QCOMPARE(o.window.chart()->accessibleDescription(),
                 "I punteggi di Anna. Lezione del 3: 1 partita il 03/10/2026, ultimo punteggio 4; "
                 "Lezione del 15: 3 partite dal 01/10/2026 al 03/10/2026, ultimo punteggio -1.");
        QCOMPARE(o.lines(), QStringList({"Lezione del 3: 1", "Lezione del 15: 3"}));
        QTest::keyClick(o.window.table(), Qt::Key_Down);
        QTest::keyClick(o.window.table(), Qt::Key_Down);
        QCOMPARE(
            o.window.chart()->accessibleDescription(),
            "I punteggi di Anna. Lezione del 15: 1 partita il 04/10/2026, ultimo punteggio 2.");
        o.find<QComboBox>("lezione")->setCurrentIndex(2); // the lesson of 15: still her
        QCOMPARE(o.lines(), QStringList("Lezione del 15: 1"));
        // Tab leaves the table for the chart, then the filters; a label's letter reaches its field.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), o.window.chart());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), o.find<QComboBox>("lezione"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), o.find<QDateEdit>("al"));
    }

    // A class of 25 over a school year, two matches a week each, and a line that is no match.
    void aYearOfAClassOf25() {
        const QList<ClassRegister::Match> year = classYear(80);
        Opened o(registerOf(year) + "2027-01-10 09:00:00;alunno03;Bambino 3;15;gara\r\n");
        o.window.load(o.path());
        QCOMPARE(o.status(),
                 "2000 partite in tutto nel registro. Una riga rovinata non è stata letta.");
        const QStringList rows = o.rows();
        QCOMPARE(rows.size(), 50);
        QVERIFY2(rows[2].startsWith("Bambino 2|alunno02|3|40|"), qPrintable(rows[2])); // not 10
        QCOMPARE(o.lines(), QStringList({"Lezione del 3: 40", "Lezione del 15: 40"}));
        auto* lessons = o.find<QComboBox>("lezione");
        lessons->setCurrentIndex(lessons->findData(3));
        QCOMPARE(o.rows().size(), 25);
        QCOMPARE(o.lines(), QStringList({"Lezione del 3: 40"}));
        lessons->setCurrentIndex(0);
        o.find<QDateEdit>("al")->setDate(QDate(2026, 9, 18)); // the first week
        int played = 0, shown = 0;
        for (const ClassRegister::Match& match : year)
            played += match.date <= QDate(2026, 9, 18);
        for (const QString& row : o.rows())
            shown += row.section(u'|', 3, 3).toInt();
        QVERIFY(played > 25);
        QCOMPARE(shown, played);
    }

    void theTableIsExportedAsTheRegisterIs() {
        Opened o(handWritten);
        o.window.load(o.path());
        const QString path = o.dir.filePath(QStringLiteral("tabella.csv"));
        QCOMPARE(o.window.exportTable(path), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 "\xEF\xBB\xBFnome;utente;lezione;partite;punteggio migliore;ultimo punteggio;"
                 "errori a partita;numeri sbagliati più spesso\r\n"
                 "Anna;alunno01;3;1;4;4;0,0;\r\n"
                 "Anna;alunno01;15;3;12;-1;1,0;52 (2 volte), 47 (1 volta)\r\n"
                 "Anna;alunno02;15;1;2;2;0,0;\r\n"
                 "\"Bea \"\"B\"\"; 3A\";alunno03;15;1;1;1;0,0;\r\n");
        QVERIFY(!(file.permissions() & (QFile::ReadOther | QFile::WriteOther)));
    }

    void aRegisterItCannotReadIsTold_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("told");
        QTest::newRow("none yet")
            << "missing"
            << "Il registro %1 non c'è ancora: nasce alla fine della prima partita.";
        QTest::newRow("a FIFO")
            << "fifo"
            << "Non riesco a leggere il registro %1: al suo posto c'è una FIFO.";
        QTest::newRow("a folder")
            << "folder"
            << "Non riesco a leggere il registro %1: al suo posto c'è una cartella.";
    }
    void aRegisterItCannotReadIsTold() {
        QFETCH(QString, kind);
        QFETCH(QString, told);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("registro.csv"));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(qPrintable(path), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        RegisterWindow window;
        QCOMPARE(window.load(path), told.arg(path));
        QCOMPARE(window.findChild<QLabel*>("stato")->text(), told.arg(path));
        QCOMPARE(window.table()->model()->rowCount(), 0);
    }
};

QTEST_MAIN(RegisterTest)
#include "tst_register.moc"
