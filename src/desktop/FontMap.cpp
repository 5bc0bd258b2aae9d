#include "desktop/FontMap.h"

#include <QApplication>

#include <cmath>

namespace FontMap {

QString freeFamily(const QString& designedFamily) {
    if (designedFamily == QLatin1String("Times New Roman"))
        return QStringLiteral("Liberation Serif");
    // MS Sans Serif, Arial and Arial Black.
    return QStringLiteral("Liberation Sans");
}

QFont font(const TavolaDesign::Font& designed) {
    if (!designed.family)
        return QApplication::font();
    const QString family = QString::fromLatin1(designed.family);
    QFont font(freeFamily(family));
    // Sizes in pixels at the design's 96 dots per inch, so the window looks the same on
    // every screen; Qt scales them on a high-DPI one.
    font.setPixelSize(static_cast<int>(std::lround(designed.points * 96.0 / 72.0)));
    font.setBold(designed.bold);
    if (family == QLatin1String("Arial Black"))
        font.setWeight(QFont::Black);
    font.setItalic(designed.italic);
    return font;
}

} // namespace FontMap
