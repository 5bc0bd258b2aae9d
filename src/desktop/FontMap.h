#pragma once

#include "game/TavolaDesign.h"

#include <QFont>

// The designed fonts are not on Linux: each maps to a free font installed with the game.
// Liberation Sans and Liberation Serif keep the metrics of Arial and Times New Roman.
namespace FontMap {
QFont font(const TavolaDesign::Font& designed);
QString freeFamily(const QString& designedFamily);
} // namespace FontMap
