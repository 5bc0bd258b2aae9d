#include "teacher/Report.h"

#include "platform/FolderFiles.h"
#include "platform/NumberText.h"
#include "platform/Settings.h"
#include "records/Mistakes.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QDateTimeAxis>
#include <QDir>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QMap>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QValueAxis>

#include <algorithm>

namespace Report {

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

QColor shareColour(double share) {
    // Viridis: dark violet for none right, yellow for all; its lightness grows all along.
    static const std::array<QColor, 5> stops{QColor(0x440154), QColor(0x3B528B), QColor(0x21918C),
                                             QColor(0x5EC962), QColor(0xFDE725)};
    const double at = std::clamp(share, 0.0, 1.0) * (stops.size() - 1);
    const auto low = size_t(at);
    const QColor& a = stops[low];
    const QColor& b = stops[std::min(low + 1, stops.size() - 1)];
    const double t = at - double(low);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QChart* scoresChart(const QList<ClassRegister::Match>& matches, const ClassRegister::Row& row,
                    const ClassRegister::Filter& filter, QStringList& told) {
    auto* chart = new QChart;
    QMap<int, QLineSeries*> lines;
    QDateTime earliest, latest;
    int lowest = 0, highest = 0;
    for (const ClassRegister::Match& match : matches) {
        if (match.child != row.child || match.kind != row.kind ||
            !ClassRegister::accepts(filter, match))
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
    const QString title = QStringLiteral("I punteggi di %1 %2").arg(row.name, kinds[int(row.kind)]);
    told << title;
    // The chart reads its title as markup; on two lines, a long name fits a narrow window.
    chart->setTitle(QStringLiteral("I punteggi di %1<br>%2")
                        .arg(row.name.toHtmlEscaped(), kinds[int(row.kind)]));
    chart->legend()->hide();
    auto* days = new QDateTimeAxis(chart);
    days->setTitleText(QStringLiteral("Giorno"));
    auto* scores = new QValueAxis(chart);
    scores->setTitleText(QStringLiteral("Punteggio"));
    scores->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(scores, Qt::AlignLeft);
    for (QLineSeries* line : std::as_const(lines)) {
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
                                                : QStringLiteral("dd/MM"));
    days->setTickCount(4); // each day's label whole, at any scale
    return chart;
}

QTextDocument* parentsPage(const QList<ClassRegister::Match>& matches, int child,
                           const ClassRegister::Filter& filter) {
    struct Lesson {
        int races = 0, best = 0, last = 0, right = 0, wrong = 0, others = 0;
        QList<int> wrongNumbers;
    };
    QMap<int, Lesson> lessons;
    QString name;
    QDate first, last;
    for (const ClassRegister::Match& match : matches) {
        if (match.child != child || !ClassRegister::accepts(filter, match))
            continue;
        name = match.name.trimmed();
        first = first.isNull() ? match.date : std::min(first, match.date);
        last = std::max(last, match.date);
        Lesson& lesson = lessons[match.lesson];
        lesson.wrongNumbers += match.wrongNumbers;
        if (match.kind != ClassRegister::Kind::Race) {
            ++lesson.others;
            continue;
        }
        lesson.best = lesson.races++ == 0 ? match.score : std::max(lesson.best, match.score);
        lesson.last = match.score;
        lesson.right += match.right;
        lesson.wrong += match.wrong;
    }
    const auto cell = [](const QString& text) { return "<td>" + text.toHtmlEscaped() + "</td>"; };
    QString html = QStringLiteral("<h1>Zenobra: i progressi di %1</h1><p>Le partite dal %2 al %3."
                                  "</p><h2>Le lezioni</h2><table border=\"1\" cellpadding=\"4\" "
                                  "cellspacing=\"0\"><tr><th>Lezione</th><th>Gare</th><th>"
                                  "Punteggio migliore</th><th>Ultimo punteggio</th><th>Colpi "
                                  "giusti</th><th>Allenamenti e ripassi</th></tr>")
                       .arg(name.toHtmlEscaped(), day(first), day(last));
    QString mistakes;
    for (auto each = lessons.cbegin(); each != lessons.cend(); ++each) {
        const Lesson& lesson = each.value();
        const bool raced = lesson.races > 0;
        html += "<tr>" + cell(lessonName(each.key())) + cell(QString::number(lesson.races)) +
                cell(raced ? QString::number(lesson.best) : "–") +
                cell(raced ? QString::number(lesson.last) : "–") +
                cell(Mistakes::Share{lesson.right, lesson.wrong}.text()) +
                cell(QString::number(lesson.others)) + "</tr>";
        if (lesson.wrongNumbers.isEmpty())
            continue;
        QHash<int, int> times;
        for (const int number : lesson.wrongNumbers)
            ++times[number];
        mistakes += "<p><b>" + lessonName(each.key()) +
                    "</b>: " + ClassRegister::mostWrongText(Mistakes::mostOften(times, 5)) + "; " +
                    Mistakes::kinds(lesson.wrongNumbers, each.key()) + ".</p>";
    }
    html += QStringLiteral("</table>");
    auto* page = new QTextDocument;
    QStringList told;
    ClassRegister::Row races;
    races.child = child;
    races.name = name;
    const std::unique_ptr<QChart> chart(scoresChart(matches, races, filter, told));
    if (!chart->series().isEmpty()) {
        chart->legend()->show(); // on paper the lessons' names have no room beside it
        chart->legend()->setAlignment(Qt::AlignBottom);
        QGraphicsScene scene;
        scene.addItem(chart.get());
        chart->resize(720, 320);
        QCoreApplication::processEvents(); // the plot laid out for its size before it is drawn
        QImage image(1440, 640, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, image.rect(), QRectF(0, 0, 720, 320));
        painter.end();
        scene.removeItem(chart.get());
        page->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("grafico")), image);
        html += QStringLiteral("<p><img src=\"grafico\" width=\"600\"></p><p>%1.</p>")
                    .arg(told.join(QStringLiteral("; ")).toHtmlEscaped());
    }
    html += QStringLiteral("<h2>I numeri sbagliati più spesso</h2>") +
            (mistakes.isEmpty() ? QStringLiteral("<p>Nessun numero sbagliato.</p>") : mistakes);
    page->setHtml(html); // every text of the child's went through toHtmlEscaped() above
    return page;
}

void print(QTextDocument& page, QPagedPaintDevice& printer) {
    page.print(&printer);
}

QString writeClass(const QList<ClassRegister::Match>& matches, const QString& folder) {
    QMap<int, ClassRegister::Match> children; // the last line of each
    QHash<QString, int> sameName;
    for (const ClassRegister::Match& match : matches)
        children[match.child] = match;
    for (const ClassRegister::Match& match : std::as_const(children))
        ++sameName[match.name.trimmed()];
    for (const ClassRegister::Match& match : std::as_const(children)) {
        // A file's name from the child's: letters, digits and spaces; the login too when two
        // children share a name.
        QString base;
        for (const QChar c : match.name.trimmed().left(60))
            base += c.isLetterOrNumber() || c == u' ' || c == u'-' ? c : u'_';
        if (base.isEmpty() || sameName[match.name.trimmed()] > 1)
            base += QStringLiteral(" (%1)").arg(
                match.user.isEmpty() ? QString::number(match.child + 1) : match.user);
        const QString path = QDir(folder).filePath(base.trimmed() + QStringLiteral(".pdf"));
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setPageSize(QPageSize(QPageSize::A4));
            // The PDF's title field: plain text, never read as markup.
            writer.setTitle(QStringLiteral("Zenobra: i progressi di ") + match.name.trimmed());
            const std::unique_ptr<QTextDocument> page(parentsPage(matches, match.child, {}));
            print(*page, writer);
        }
        if (const QString problem = FolderFiles::replace(path, pdf.data()); !problem.isEmpty())
            return QStringLiteral("Non ho potuto scrivere la pagina %1: %2.").arg(path, problem);
    }
    return {};
}

} // namespace Report
