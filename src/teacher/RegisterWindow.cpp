#include "teacher/RegisterWindow.h"

#include "platform/FolderFiles.h"
#include "platform/NumberText.h"
#include "platform/Settings.h"
#include "platform/SystemFolders.h"
#include "records/RecordStore.h"
#include "teacher/RegisterModel.h"
#include "teacher/Report.h"

#include <QAction>
#include <QBoxLayout>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMap>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QValueAxis>

#include <set>

namespace {

using namespace Report;

// A day typed as a teacher types it, "15/10/2026": once a part is whole the field moves on to
// the next by itself, so the "/" typed after it must not move on once more.
class DayEdit final : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool separator = event->text() == u"/" || event->text() == u".";
        if (separator && std::exchange(m_movedOn, false))
            return;
        const Section before = currentSection();
        QDateEdit::keyPressEvent(event);
        m_movedOn = event->text().size() == 1 && event->text().front().isDigit() &&
                    currentSection() != before;
    }

private:
    bool m_movedOn = false;
};

QDateEdit* dateEdit(QWidget* parent, const QString& accessibleName) {
    auto* edit = new DayEdit(parent);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setCalendarPopup(true);
    // Any day of the game's years: a typed day is taken as typed, never moved into a range.
    edit->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    edit->setKeyboardTracking(false); // the table follows a whole date, not each digit
    edit->setAccessibleName(accessibleName);
    return edit;
}

} // namespace

RegisterWindow::RegisterWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_lesson(new QComboBox(this))
    , m_from(dateEdit(this, QStringLiteral("Dal giorno")))
    , m_to(dateEdit(this, QStringLiteral("Al giorno")))
    , m_table(new QTableView(this))
    , m_model(new RegisterModel(this))
    , m_sorted(new QSortFilterProxyModel(this))
    , m_chart(new QChartView(this))
    , m_legend(new QWidget(this))
    , m_status(new QLabel(this))
    , m_grid(new QTableView(this))
    , m_gridModel(new ClassGridModel(this))
    , m_gridSorted(new QSortFilterProxyModel(this))
    , m_classWrong(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Registro della classe - Zenobra"));
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    auto* filters = new QHBoxLayout;
    const auto labelled = [&](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, central);
        label->setBuddy(field); // its letter takes the focus there
        filters->addWidget(label);
        filters->addWidget(field);
    };
    labelled(QStringLiteral("&Lezione:"), m_lesson);
    labelled(QStringLiteral("&Dal:"), m_from);
    labelled(QStringLiteral("&Al:"), m_to);
    filters->addStretch();
    column->addLayout(filters);
    // The actions on a row of their own: with the filters, too wide for a small screen at scale 2.
    auto* actions = new QHBoxLayout;
    auto* exportButton = new QPushButton(QStringLiteral("&Esporta"), central);
    exportButton->setToolTip(QStringLiteral("Scrive la tabella in un file CSV"));
    actions->addWidget(exportButton);
    const auto button = [&](const QString& text, const QString& tip, auto slot) {
        auto* pressed = new QPushButton(text, central);
        pressed->setToolTip(tip);
        actions->addWidget(pressed);
        connect(pressed, &QPushButton::clicked, this, slot);
        return pressed;
    };
    button(QStringLiteral("&Stampa"), QStringLiteral("La pagina per i genitori del bambino scelto"),
           &RegisterWindow::printChosen)
        ->setShortcut(Qt::CTRL | Qt::Key_P);
    button(QStringLiteral("&Cancella il bambino"),
           QStringLiteral("Toglie dal registro tutte le righe del bambino scelto"),
           [this] { m_status->setText(eraseChosen()); });
    button(QStringLiteral("Chiudi l'a&nno"),
           QStringLiteral("Mette da parte il registro di quest'anno e ne comincia uno nuovo"),
           [this] { m_status->setText(closeYear()); });
    actions->addStretch();
    column->addLayout(actions);

    m_lesson->setAccessibleName(QStringLiteral("Lezione"));
    m_lesson->setObjectName(QStringLiteral("lezione"));
    m_from->setObjectName(QStringLiteral("dal"));
    m_to->setObjectName(QStringLiteral("al"));
    m_status->setObjectName(QStringLiteral("stato"));
    m_status->setTextFormat(Qt::PlainText); // it may quote a file's name
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(RegisterModel::SortRole);
    m_table->setModel(m_sorted);
    m_table->setAccessibleName(QStringLiteral("Bambini e lezioni"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false); // Tab leaves the table for the chart and the filters
    m_table->verticalHeader()->hide();
    // Unsorted until a title is clicked: the names in a teacher's order.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_chart->setObjectName(QStringLiteral("grafico"));
    m_chart->setAccessibleName(QStringLiteral("Punteggi nel tempo"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumHeight(220);
    m_chart->setFocusPolicy(Qt::StrongFocus); // a screen reader reaches its description
    m_chart->setStyleSheet(QStringLiteral(
        "QChartView { border: 3px solid transparent; } "
        "QChartView:focus { border: 3px solid palette(highlight); }")); // where the focus is
    // The lessons' names beside the chart, in as many columns as they need: the chart's own
    // legend has one column, and cuts the names that do not fit its height.
    auto* chartAndLegend = new QWidget(central);
    auto* beside = new QHBoxLayout(chartAndLegend);
    beside->setContentsMargins({});
    beside->addWidget(m_chart, 1);
    beside->addWidget(m_legend);
    m_legend->setObjectName(QStringLiteral("legenda"));
    auto* split = new QSplitter(Qt::Vertical, central);
    split->addWidget(m_table);
    split->addWidget(chartAndLegend);
    // The class at a glance: children by lessons, then the numbers the class falls for.
    auto* classPage = new QWidget(central);
    auto* classColumn = new QVBoxLayout(classPage);
    m_gridSorted->setSourceModel(m_gridModel);
    m_gridSorted->setSortRole(RegisterModel::SortRole);
    m_grid->setModel(m_gridSorted);
    m_grid->setObjectName(QStringLiteral("classe"));
    m_grid->setAccessibleName(QStringLiteral("La classe: colpi giusti nelle gare, per lezione"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_grid->setSortingEnabled(true);
    m_classWrong->setObjectName(QStringLiteral("numeri della classe"));
    m_classWrong->setTextFormat(Qt::PlainText);
    m_classWrong->setWordWrap(true);
    m_classWrong->setFocusPolicy(Qt::StrongFocus); // a screen reader reaches it by Tab
    classColumn->addWidget(m_grid, 1);
    classColumn->addWidget(m_classWrong);
    auto* pages = new QTabWidget(central);
    pages->addTab(split, QStringLiteral("&Bambini e lezioni"));
    pages->addTab(classPage, QStringLiteral("&Tutta la classe"));
    column->addWidget(pages, 1);
    column->addWidget(m_status);
    setCentralWidget(central);
    setTabOrder(m_table, m_chart);
    setTabOrder(m_chart, m_lesson);
    m_table->setFocus();

    connect(m_lesson, &QComboBox::currentIndexChanged, this, &RegisterWindow::showTable);
    connect(m_from, &QDateEdit::dateChanged, this, &RegisterWindow::showTable);
    connect(m_to, &QDateEdit::dateChanged, this, &RegisterWindow::showTable);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &RegisterWindow::showChart);
    connect(exportButton, &QPushButton::clicked, this, &RegisterWindow::askExport);
    auto* quit = new QAction(QStringLiteral("Chiudi"), this);
    quit->setShortcut(Qt::CTRL | Qt::Key_Q); // the desktops' Quit, which some platforms leave unset
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);
    resize(QSize(960, 640).boundedTo(screen()->availableSize() * 0.9));
}

QString RegisterWindow::load(const QString& path) {
    m_path = path;
    m_register = ClassRegister::read(path);
    std::set<int> lessons;
    QDate first, last;
    for (const ClassRegister::Match& match : m_register.matches) {
        lessons.insert(match.lesson);
        first = first.isNull() ? match.date : std::min(first, match.date);
        last = std::max(last, match.date);
    }
    const QSignalBlocker lessonQuiet(m_lesson), fromQuiet(m_from), toQuiet(m_to);
    m_lesson->clear();
    m_lesson->addItem(QStringLiteral("Tutte le lezioni"), 0);
    for (const int lesson : lessons)
        m_lesson->addItem(lessonName(lesson), lesson);
    m_from->setDate(first.isNull() ? QDate::currentDate() : first);
    m_to->setDate(last.isNull() ? QDate::currentDate() : last);
    showTable();
    return m_register.problem;
}

QString RegisterWindow::loadClassRegister(SystemFolders& folders) {
    const QString folder = folders.systemDir();
    if (folder.isEmpty()) {
        m_status->setText(folders.systemDirProblem());
        return folders.systemDirProblem();
    }
    const QString path = ClassRegister::path(folder);
    const Settings& settings = folders.settings();
    if (settings.registerOn)
        return load(path);
    // Off: said so, with the lines written before it was turned off.
    QStringList told = settings.problems;
    const QString off = QStringLiteral("Il registro è spento nelle impostazioni di sistema "
                                       "([register] enabled=no): le partite non vengono scritte.");
    if (FolderFiles::nothingAt(path)) {
        told << off;
        m_status->setText(told.join(u' '));
    } else {
        told << off + QStringLiteral(" Qui ci sono quelle scritte prima.");
        if (const QString unread = load(path); !unread.isEmpty())
            told << unread;
    }
    return told.join(u' ');
}

ClassRegister::Filter RegisterWindow::filter() const {
    return {m_lesson->currentData().toInt(), m_from->date(), m_to->date()};
}

const ClassRegister::Row* RegisterWindow::chosen() const {
    const QModelIndex at = m_sorted->mapToSource(m_table->currentIndex());
    return at.isValid() ? &m_model->rows()[at.row()] : nullptr;
}

void RegisterWindow::showTable() {
    // The child chosen stays chosen under the new filter, where it has a row.
    const ClassRegister::Row* was = chosen();
    const auto child =
        was ? std::pair(was->child, was->kind) : std::pair(-1, ClassRegister::Kind::Race);
    const QSignalBlocker quiet(m_table->selectionModel()); // one chart, drawn below
    m_model->setRows(ClassRegister::summary(m_register.matches, filter()));
    const QList<ClassRegister::Row>& rows = m_model->rows();
    int shown = 0;
    for (const ClassRegister::Row& row : rows)
        shown += row.matches;
    m_table->resizeColumnsToContents();
    QString status = rows.isEmpty() ? QStringLiteral("Nessuna partita in questi giorni.")
                                    : QStringLiteral("Nella tabella %1 su %2 del registro.")
                                          .arg(matchesText(shown))
                                          .arg(m_register.matches.size());
    if (m_register.malformed == 1)
        status += QStringLiteral(" Una riga rovinata non è stata letta.");
    else if (m_register.malformed > 1)
        status +=
            QStringLiteral(" %1 righe rovinate non sono state lette.").arg(m_register.malformed);
    m_status->setText(m_register.problem.isEmpty() ? status : m_register.problem);
    const auto row = std::ranges::find_if(rows, [&](const ClassRegister::Row& each) {
        return std::pair(each.child, each.kind) == child;
    });
    const int at = row == rows.end() ? 0 : int(row - rows.begin());
    m_table->setCurrentIndex(m_sorted->mapFromSource(m_model->index(at, 0)));
    showChart();
    showClass();
}

void RegisterWindow::showClass() {
    const ClassRegister::Filter shown = filter();
    const QList<Mistakes::Child> children = Mistakes::grid(m_register.matches, shown);
    std::set<int> raced, played;
    for (const Mistakes::Child& child : children)
        for (const int lesson : child.lessons.keys())
            raced.insert(lesson);
    m_gridModel->setGrid(children, QList<int>(raced.begin(), raced.end()));
    m_grid->resizeColumnsToContents();
    for (const ClassRegister::Match& match : std::as_const(m_register.matches))
        if (ClassRegister::accepts(shown, match))
            played.insert(match.lesson);
    QStringList told{QStringLiteral("I numeri che la classe sbaglia più spesso:")};
    for (const int lesson : played) {
        const auto often = Mistakes::classWrong(m_register.matches, shown, lesson, 5);
        told << lessonName(lesson) + QStringLiteral(": ") +
                    (often.isEmpty() ? QStringLiteral("nessuno")
                                     : ClassRegister::mostWrongText(often));
    }
    m_classWrong->setText(told.join(u'\n'));
}

void RegisterWindow::printChosen() {
    const ClassRegister::Row* row = chosen();
    if (!row)
        return;
    QPrinter printer;
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("Zenobra - ") + row->name);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Stampa la pagina per i genitori di ") + row->name);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::unique_ptr<QTextDocument> page(
        Report::parentsPage(m_register.matches, row->child, filter()));
    Report::print(*page, printer);
    if (!printer.outputFileName().isEmpty()) // a PDF of a child's: not for every user's eyes
        QFile::setPermissions(printer.outputFileName(), QFile::ReadOwner | QFile::WriteOwner);
}

bool RegisterWindow::asked(const QString& question) {
    return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QString RegisterWindow::eraseChosen() {
    const ClassRegister::Row* row = chosen();
    if (!row || m_path.isEmpty())
        return QStringLiteral("Scegli prima un bambino nella tabella.");
    const QString name = row->name, user = row->user;
    if (!asked(QStringLiteral("Cancello dal registro tutte le partite di %1 (utente %2)? Non si "
                              "potranno più recuperare.")
                   .arg(name, user)))
        return {};
    const ClassRegister::Erased erased = ClassRegister::erase(m_path, user, name);
    QStringList told{erased.problem.isEmpty()
                         ? QStringLiteral("Ho cancellato dal registro %1 di %2.")
                               .arg(matchesText(erased.lines), name)
                         : erased.problem};
    // A class record of the child's, in any lesson: said, and cleared if the teacher wants.
    const QString folder = QFileInfo(m_path).path();
    for (const int lesson : Settings::lessons) {
        const RecordStore store(folder, {.lesson = lesson, .lockWaitMs = 2000});
        if (FolderFiles::nothingAt(store.namePath()))
            continue;
        const RecordStore::Loaded loaded = store.load();
        if (loaded.record.name.trimmed().compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const QString record =
            QStringLiteral("il record della lezione ") + NumberText::ofThe(lesson);
        if (!asked(QStringLiteral("Anche %1 è di %2, con %3 punti. Lo cancello?")
                       .arg(record, name, loaded.record.score.trimmed()))) {
            told << QStringLiteral("Resta %1, di %2.").arg(record, name);
            continue;
        }
        const QString problem = store.clear();
        told << (problem.isEmpty() ? QStringLiteral("Ho cancellato %1.").arg(record) : problem);
    }
    load(m_path);
    return told.join(u' ');
}

QString RegisterWindow::closeYear() {
    if (m_path.isEmpty() || FolderFiles::nothingAt(m_path))
        return QStringLiteral("Non c'è un registro da mettere da parte.");
    const QDate today = QDate::currentDate();
    const QString year = ClassRegister::schoolYear(today);
    if (!asked(QStringLiteral("Metto da parte il registro dell'anno %1, come registro-%1.csv, e "
                              "ne comincio uno nuovo?")
                   .arg(year)))
        return {};
    const auto [aside, problem] = ClassRegister::closeYear(m_path, today);
    if (!problem.isEmpty())
        return problem;
    load(m_path);
    return QStringLiteral("Il registro dell'anno %1 è ora %2: quello nuovo comincia con la "
                          "prossima partita.")
        .arg(year, aside);
}

void RegisterWindow::showChart() {
    // The view does not own the chart it showed before.
    const std::unique_ptr<QChart> shownBefore(m_chart->chart());
    delete m_legend->layout();
    qDeleteAll(m_legend->findChildren<QLabel*>(Qt::FindDirectChildrenOnly));
    auto* legend = new QGridLayout(m_legend);
    const ClassRegister::Row* row = chosen();
    if (!row) {
        m_chart->setChart(new QChart);
        m_chart->setAccessibleDescription(QStringLiteral("Nessuna partita."));
        return;
    }
    QStringList told;
    QChart* chart = scoresChart(m_register.matches, *row, filter(), told);
    m_chart->setChart(chart);
    for (QAbstractSeries* series : chart->series()) {
        auto* line = static_cast<QLineSeries*>(series);
        const int at = int(legend->count() / 2), rows = 6;
        QPixmap swatch(12, 12);
        swatch.fill(line->color());
        auto* colour = new QLabel(m_legend);
        colour->setPixmap(swatch);
        legend->addWidget(colour, at % rows, at / rows * 2);
        legend->addWidget(new QLabel(line->name(), m_legend), at % rows, at / rows * 2 + 1);
    }
    // What the chart shows, in words for a screen reader.
    m_chart->setAccessibleDescription(told.first() + QStringLiteral(". ") +
                                      told.mid(1).join(QStringLiteral("; ")) + QLatin1Char('.'));
}

QString RegisterWindow::exportTable(const QString& path) const {
    const QString problem = FolderFiles::replace(path, tableCsv(*m_sorted));
    return problem.isEmpty() ? QString()
                             : QStringLiteral("Non ho potuto scrivere la tabella nel file %1: %2.")
                                   .arg(path, problem);
}

void RegisterWindow::askExport() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Esporta la tabella"),
                                                      QDir::home().filePath("tabella.csv"),
                                                      QStringLiteral("Tabella CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (const QString problem = exportTable(path); !problem.isEmpty())
        QMessageBox::warning(this, windowTitle(), problem);
}
