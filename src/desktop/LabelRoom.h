#pragma once

#include <QPoint>

class QFont;
class QLabel;
class QString;

// A label that sizes to its text, within the room it has on its row: at its design left edge
// while its text fits there, else further left, else in a font just small enough, so that a long
// record or name is read whole and never runs under its neighbour or off the window.
namespace LabelRoom {

void fit(QLabel& label, const QString& text, const QFont& designed, QPoint designedAt, int roomLeft,
         int roomRight);

} // namespace LabelRoom
