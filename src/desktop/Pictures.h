#pragma once

#include <QCursor>
#include <QIcon>
#include <QString>

// The game's pictures and pointers, drawn as SVG and rendered at the screen's pixel ratio.
namespace Pictures {
// A 32 × 32 pointer with its hot spot in design pixels, drawn at the screen's pixel ratio.
QCursor cursor(const QString& resource, QPoint hotSpot, qreal devicePixelRatio);
inline const QString windowIcon = QStringLiteral(":/icons/zenobra.svg");
inline const QString crosshair = QStringLiteral(":/cursors/mirino.svg");
} // namespace Pictures
