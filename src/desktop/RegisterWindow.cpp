#include "desktop/RegisterWindow.h"

#include "platform/RecordFiles.h"

#include <QBoxLayout>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QValueAxis>

#include <set>

namespace {

QString lessonName(int lesson) {
    return QStringLiteral("Lezione del %1").arg(lesson);
}

QString matchesText(qsizetype count) {
    return count == 1 ? QStringLiteral("1 partita") : QStringLiteral("%1 partite").arg(count);
}

QString day(QDate date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QDateEdit* dateEdit(QWidget* parent, const QString& accessibleName) {
    auto* edit = new QDateEdit(parent);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setCalendarPopup(true);
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
    , m_model(new QStandardItemModel(this))
    , m_chart(new QChartView(this))
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
    m_table->setModel(m_model);
    m_table->setAccessibleName(QStringLiteral("Bambini e lezioni"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false); // Tab leaves the table for the chart and the filters
    m_table->verticalHeader()->hide();
    m_chart->setAccessibleName(QStringLiteral("Punteggi nel tempo"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumHeight(220);
    m_chart->setFocusPolicy(Qt::StrongFocus); // a screen reader reaches its description
    auto* split = new QSplitter(Qt::Vertical, central);
    split->addWidget(m_table);
    split->addWidget(m_chart);
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
    for (QDateEdit* edit : {m_from, m_to})
        edit->setDateRange(first.isNull() ? QDate::currentDate() : first,
                           last.isNull() ? QDate::currentDate() : last);
    m_from->setDate(m_from->minimumDate());
    m_to->setDate(m_to->maximumDate());
    showTable();
    return m_register.problem;
}

ClassRegister::Filter RegisterWindow::filter() const {
    return {m_lesson->currentData().toInt(), m_from->date(), m_to->date()};
}

void RegisterWindow::showTable() {
    // The child chosen stays chosen under the new filter, where it has a row.
    const int chosen = m_table->currentIndex().row();
    const int child = chosen >= 0 && chosen < m_rows.size() ? m_rows[chosen].child : -1;
    m_rows = ClassRegister::summary(m_register.matches, filter());
    m_model->clear();
    m_model->setHorizontalHeaderLabels(
        {QStringLiteral("Nome"), QStringLiteral("Utente"), QStringLiteral("Lezione"),
         QStringLiteral("Partite"), QStringLiteral("Punteggio migliore"),
         QStringLiteral("Ultimo punteggio"), QStringLiteral("Errori a partita"),
         QStringLiteral("Numeri sbagliati più spesso")});
    for (const ClassRegister::Row& row : std::as_const(m_rows)) {
        QList<QStandardItem*> items;
        for (const QVariant& value :
             {QVariant(row.name), QVariant(row.user), QVariant(row.lesson), QVariant(row.matches),
              QVariant(row.best), QVariant(row.last), QVariant(ClassRegister::wrongPerMatch(row)),
              QVariant(ClassRegister::mostWrongText(row))}) {
            auto* item = new QStandardItem;
            item->setData(value, Qt::DisplayRole);
            items.append(item);
        }
        m_model->appendRow(items);
    }
    m_table->resizeColumnsToContents();
    QString status = m_rows.isEmpty() ? QStringLiteral("Nessuna partita in questi giorni.")
                                      : matchesText(m_register.matches.size()) +
                                            QStringLiteral(" in tutto nel registro.");
    if (m_register.malformed == 1)
        status += QStringLiteral(" Una riga rovinata non è stata letta.");
    else if (m_register.malformed > 1)
        status +=
            QStringLiteral(" %1 righe rovinate non sono state lette.").arg(m_register.malformed);
    m_status->setText(m_register.problem.isEmpty() ? status : m_register.problem);
    const auto row = std::ranges::find(m_rows, child, &ClassRegister::Row::child);
    m_table->setCurrentIndex(m_model->index(row == m_rows.end() ? 0 : int(row - m_rows.begin()),
                                            0)); // its chart shown
    if (m_rows.isEmpty())
        showChart();
}

void RegisterWindow::showChart() {
    auto* chart = new QChart;
    const int at = m_table->currentIndex().row();
    if (at < 0 || at >= m_rows.size()) {
        m_chart->setChart(chart);
        m_chart->setAccessibleDescription(chart->title());
        return;
    }
    const ClassRegister::Row& child = m_rows[at];
    // One line for each lesson, in the order of the days.
    QMap<int, QLineSeries*> lines;
    QStringList told;
    QDateTime earliest, latest;
    int lowest = 0, highest = 0;
    const ClassRegister::Filter shown = filter();
    for (const ClassRegister::Match& match : std::as_const(m_register.matches)) {
        if (match.child != child.child || !ClassRegister::accepts(shown, match))
            continue;
        QLineSeries*& line = lines[match.lesson];
        if (!line) {
            line = new QLineSeries(chart);
            line->setName(lessonName(match.lesson));
            line->setPointsVisible(true);
        }
        const QDateTime when(match.date, match.time);
        line->append(when.toMSecsSinceEpoch(), match.score);
        lowest = earliest.isValid() ? std::min(lowest, match.score) : match.score;
        highest = earliest.isValid() ? std::max(highest, match.score) : match.score;
        earliest = earliest.isValid() ? std::min(earliest, when) : when;
        latest = std::max(latest, when);
    }
    chart->setTitle(QStringLiteral("I punteggi di %1").arg(child.name));
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
                                                : QStringLiteral("dd/MM/yy"));
    m_chart->setChart(chart);
    // What the chart shows, in words for a screen reader.
    m_chart->setAccessibleDescription(chart->title() + QStringLiteral(". ") +
                                      told.join(QStringLiteral("; ")) + QLatin1Char('.'));
}

QString RegisterWindow::exportTable(const QString& path) const {
    const QString problem = RecordFiles::replace(path, ClassRegister::tableCsv(m_rows));
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
