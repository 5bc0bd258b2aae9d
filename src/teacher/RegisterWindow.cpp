#include "teacher/RegisterWindow.h"

#include "platform/FolderFiles.h"
#include "platform/NumberText.h"
#include "platform/Settings.h"
#include "platform/SystemFolders.h"
#include "teacher/RegisterModel.h"

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
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QValueAxis>

#include <set>

namespace {

QString lessonName(int lesson) {
    return QStringLiteral("Lezione ") + NumberText::ofThe(lesson);
}

QString matchesText(qsizetype count) {
    return count == 1 ? QStringLiteral("1 partita") : QStringLiteral("%1 partite").arg(count);
}

QString day(QDate date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

// Eleven colours apart, in the order of the lessons, for eyes that tell few colours apart too:
// the Okabe and Ito palette without its black, then four darker colours.
QColor lessonColour(int lesson) {
    static const std::array<QRgb, Settings::lessons.size()> colours{
        0x0072B2, 0xE69F00, 0x009E73, 0xCC79A7, 0x56B4E9, 0xD55E00,
        0x882255, 0xF0E442, 0x8C564B, 0x7F7F7F, 0x332288};
    const auto at = std::ranges::find(Settings::lessons, lesson) - Settings::lessons.begin();
    return QColor::fromRgb(colours[size_t(at) % colours.size()]);
}

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
    , m_status(new QLabel(this)) {
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
    auto* exportButton = new QPushButton(QStringLiteral("&Esporta"), central);
    exportButton->setToolTip(QStringLiteral("Scrive la tabella in un file CSV"));
    filters->addWidget(exportButton);
    column->addLayout(filters);

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
    column->addWidget(split, 1);
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
}

void RegisterWindow::showChart() {
    auto* chart = new QChart;
    // The view does not own the chart it showed before.
    const std::unique_ptr<QChart> shownBefore(m_chart->chart());
    m_chart->setChart(chart);
    delete m_legend->layout();
    qDeleteAll(m_legend->findChildren<QLabel*>(Qt::FindDirectChildrenOnly));
    auto* legend = new QGridLayout(m_legend);
    const ClassRegister::Row* row = chosen();
    if (!row) {
        m_chart->setAccessibleDescription(QStringLiteral("Nessuna partita."));
        return;
    }
    const ClassRegister::Row child = *row;
    // One line for each lesson, in the order of the days.
    QMap<int, QLineSeries*> lines;
    QStringList told;
    QDateTime earliest, latest;
    int lowest = 0, highest = 0;
    const ClassRegister::Filter shown = filter();
    for (const ClassRegister::Match& match : std::as_const(m_register.matches)) {
        if (match.child != child.child || match.kind != child.kind ||
            !ClassRegister::accepts(shown, match))
            continue;
        QLineSeries*& line = lines[match.lesson];
        if (!line) {
            line = new QLineSeries(chart);
            line->setName(lessonName(match.lesson));
            line->setPointsVisible(true);
            line->setColor(lessonColour(match.lesson));
        }
        const QDateTime when(match.date, match.time);
        line->append(when.toMSecsSinceEpoch(), match.score);
        lowest = earliest.isValid() ? std::min(lowest, match.score) : match.score;
        highest = earliest.isValid() ? std::max(highest, match.score) : match.score;
        earliest = earliest.isValid() ? std::min(earliest, when) : when;
        latest = std::max(latest, when);
    }
    static const QStringList kinds{"in gara", "in allenamento", "nel ripasso"};
    const QString title =
        QStringLiteral("I punteggi di %1 %2").arg(child.name, kinds[int(child.kind)]);
    chart->setTitle(title.toHtmlEscaped()); // the chart reads its title as markup
    chart->legend()->hide();
    auto* days = new QDateTimeAxis(chart);
    days->setTitleText(QStringLiteral("Giorno"));
    auto* scores = new QValueAxis(chart);
    scores->setTitleText(QStringLiteral("Punteggio"));
    scores->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(scores, Qt::AlignLeft);
    for (auto each = lines.cbegin(); each != lines.cend(); ++each) {
        QLineSeries* line = each.value();
        chart->addSeries(line);
        line->attachAxis(days);
        line->attachAxis(scores);
        const QList<QPointF> points = line->points();
        const auto dayOf = [](const QPointF& point) {
            return day(QDateTime::fromMSecsSinceEpoch(qint64(point.x())).date());
        };
        const QString first = dayOf(points.first()), last = dayOf(points.last());
        const int at = int(told.size()), rows = 6;
        QPixmap swatch(12, 12);
        swatch.fill(line->color());
        auto* colour = new QLabel(m_legend);
        colour->setPixmap(swatch);
        legend->addWidget(colour, at % rows, at / rows * 2);
        legend->addWidget(new QLabel(line->name(), m_legend), at % rows, at / rows * 2 + 1);
        told << QStringLiteral("%1: %2 %3, ultimo punteggio %4")
                    .arg(line->name(), matchesText(points.size()),
                         first == last ? QStringLiteral("il ") + first
                                       : QStringLiteral("dal %1 al %2").arg(first, last))
                    .arg(points.last().y());
    }
    // Axes of no length, from a single match or equal scores, would draw nothing at all.
    days->setRange(earliest.addSecs(earliest == latest ? -43200 : 0),
                   latest.addSecs(earliest == latest ? 43200 : 0));
    scores->setRange(lowest - (lowest == highest), highest + (lowest == highest));
    scores->applyNiceNumbers();
    if (const int span = int(scores->max() - scores->min()); span < scores->tickCount() - 1)
        scores->setTickCount(span + 1); // whole points only
    // The hours too when the days are few, or every label would name the same day.
    days->setFormat(earliest.daysTo(latest) < 3 ? QStringLiteral("dd/MM HH:mm")
                                                : QStringLiteral("dd/MM"));
    days->setTickCount(4); // each day's label whole, at any scale
    // What the chart shows, in words for a screen reader.
    m_chart->setAccessibleDescription(title + QStringLiteral(". ") +
                                      told.join(QStringLiteral("; ")) + QLatin1Char('.'));
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
