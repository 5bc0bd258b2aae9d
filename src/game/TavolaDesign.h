#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <span>

// The game window as designed: what every control holds before any handler runs.
namespace TavolaDesign {

enum class Kind { Label, Button, TextBox };

struct Font {
    const char* family = nullptr; // the designed family; FontMap gives the free font for it
    double points = 0;            // 0: the system font
    bool bold = false;
    bool italic = false;
};

struct Picture {
    const char* normal = nullptr; // resource paths of the pictures
    const char* pressed = nullptr;
    const char* disabled = nullptr;
};

enum Flag : unsigned {
    Hidden = 1,
    Disabled = 2,
    Graphical = 4,
    Border = 8,
    Centred = 16,
    AutoSize = 32
};

struct ControlDesign {
    const char* name;
    QRect twips; // place and size
    const char* text = "";
    Font font = {};
    QColor background = {}; // invalid: the system's
    QColor foreground = {};
    int tabIndex = 0;
    unsigned flags = 0;
    Kind kind = Kind::Label;
    const char* toolTip = "";
    Picture picture = {};
    const char* cursor = nullptr; // a pointer of its own
    const char* spokenName = "";  // what a screen reader says while the caption is empty

    bool has(Flag flag) const { return flags & flag; }
};

constexpr int twipsPerPixel = 15;
constexpr int clientWidth = 9120 / twipsPerPixel;   // 608
constexpr int clientHeight = 10080 / twipsPerPixel; // 672
// Once the question board has painted, the client height counts this many units down.
constexpr int scaleHeight = 512;

inline const char* const caption = "Frulvane";

QRect pixelGeometry(const ControlDesign& design);

// In the order the window stores them.
std::span<const ControlDesign> controls();

struct MenuDesign {
    const char* name;
    const char* caption;
    const char* parent; // nullptr: a top-level entry
};
std::span<const MenuDesign> menus();

struct TimerDesign {
    const char* name;
    int interval;
    bool enabled;
};
inline constexpr TimerDesign timer1 = {"Timer1", 1000, true};
inline constexpr TimerDesign timer2 = {"Timer2", 1300, false};

} // namespace TavolaDesign
