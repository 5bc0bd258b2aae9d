#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <span>

// The game window as designed: what every control holds before any handler runs.
namespace TavolaDesign {

enum class Kind { Button, Label, TextBox };

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

struct ControlDesign {
    const char* name;
    Kind kind;
    int left, top, width, height; // twips
    const char* text;
    Font font;
    QColor background; // invalid: the system's
    QColor foreground;
    bool hidden = false;
    bool disabled = false;
    bool graphical = false;
    bool border = false;
    bool centred = false;
    bool autoSize = false;
    int tabIndex = 0;
    const char* toolTip = "";
    Picture picture = {};
    const char* cursor = nullptr; // a pointer of its own
    const char* spokenName = "";  // what a screen reader says while the caption is empty
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
