#include "desktop/LabelRoom.h"

#include <QLabel>

#include <algorithm>

namespace LabelRoom {

namespace {
constexpr int smallest = 10; // pixels
} // namespace

void fit(QLabel& label, const QString& text, const QFont& designed, QPoint designedAt, int roomLeft,
         int roomRight) {
    const int room = roomRight - roomLeft;
    QFont font = designed; // the design's fonts are sized in pixels
    label.setFont(font);
    label.setText(text);
    while (label.sizeHint().width() > room && font.pixelSize() > smallest) {
        font.setPixelSize(font.pixelSize() - 1);
        label.setFont(font);
    }
    // Past the smallest font a child reads, the end gives way to "…", and the whole text is
    // in the tooltip (assistive tools have it in the name).
    const bool cut = label.sizeHint().width() > room;
    if (cut) {
        const QFontMetrics metrics(font);
        const int around = label.sizeHint().width() - metrics.horizontalAdvance(text);
        label.setText(metrics.elidedText(text, Qt::ElideRight, room - around));
    }
    label.setToolTip(cut ? text : QString());
    const QSize natural = label.sizeHint();
    const int width = std::min(natural.width(), room);
    // A smaller font keeps the line its text stands on.
    const int top = designedAt.y() + QFontMetrics(designed).ascent() - QFontMetrics(font).ascent();
    label.setGeometry(std::max(roomLeft, std::min(designedAt.x(), roomRight - width)), top, width,
                      natural.height());
}

} // namespace LabelRoom
