#pragma once

#include <QRgb>

namespace Colours {
inline constexpr QRgb red = 0xFFFF0000;
inline constexpr QRgb green = 0xFF00FF00;
inline constexpr QRgb cyan = 0xFF00FFFF;
} // namespace Colours
