#pragma once

#include "records/ClassRegister.h"

#include <QColor>
#include <QString>

class QChart;
class QPagedPaintDevice;
class QTextDocument;

// What the teacher's window and the parents' page show alike: the lessons' names and colours,
// the chart of a child's scores, and the page itself, printed or written as PDF.
namespace Report {

QString lessonName(int lesson); // "Lezione del 15"
QString matchesText(qsizetype count);
QString day(QDate date);
// Eleven colours apart, one for each lesson, for eyes that tell few colours apart too.
QColor lessonColour(int lesson);
// A share of right hits, 0 to 1, on a scale from dark to light that colour-blind eyes read too.
QColor shareColour(double share);

// A line for each lesson, in the order of the days, of the chosen row's child and kind of match;
// `told` gets the title, then each line in words for a screen reader.
QChart* scoresChart(const QList<ClassRegister::Match>& matches, const ClassRegister::Row& row,
                    const ClassRegister::Filter& filter, QStringList& told);

// One page for a child's parents, in Italian: the lessons played, the best and last race scores,
// the chart, the numbers fallen for and the kind of mistake, and the days it covers.
QTextDocument* parentsPage(const QList<ClassRegister::Match>& matches, int child,
                           const ClassRegister::Filter& filter);
void print(QTextDocument& page, QPagedPaintDevice& printer);
// A page for each child of the register, as PDF files in the folder: "" or what went wrong.
QString writeClass(const QList<ClassRegister::Match>& matches, const QString& folder);

} // namespace Report
