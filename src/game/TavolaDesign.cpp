#include "game/TavolaDesign.h"

#include <array>

namespace TavolaDesign {

namespace {

using K = Kind;

const QColor cyan(0x00, 0xFF, 0xFF);
const QColor none;

constexpr Font numberFont{"MS Sans Serif", 24, true, false};
constexpr Font sans8Bold{"MS Sans Serif", 8.25, true, false};
constexpr Font sans18{"MS Sans Serif", 18, false, false};
constexpr Font sans18Bold{"MS Sans Serif", 18, true, false};
constexpr Font sans24{"MS Sans Serif", 24, false, false};
constexpr Font sans24BoldItalic{"MS Sans Serif", 24, true, true};
constexpr Font times36Bold{"Times New Roman", 36, true, false};
constexpr Font arial48Bold{"Arial", 48, true, false};
constexpr Font arial48{"Arial", 48, false, false};
constexpr Font systemFont{};

enum Flag { Hidden = 1, Disabled = 2, Graphical = 4, Border = 8, Centred = 16, AutoSize = 32 };

// A row of the design: its place and size in twips, the flags it sets, and what a screen reader
// says of it while its caption is empty.
ControlDesign row(const char* name, Kind kind, QRect twips, const char* text, Font font,
                  QColor background, QColor foreground, int tab, unsigned flags = 0,
                  const char* spokenName = "") {
    ControlDesign c{name,           kind, twips.x(), twips.y(),  twips.width(),
                    twips.height(), text, font,      background, foreground};
    c.hidden = flags & Hidden;
    c.disabled = flags & Disabled;
    c.graphical = flags & Graphical;
    c.border = flags & Border;
    c.centred = flags & Centred;
    c.autoSize = flags & AutoSize;
    c.tabIndex = tab;
    c.spokenName = spokenName;
    return c;
}

ControlDesign label(const char* name, QRect twips, const char* text, Font font, QColor background,
                    QColor foreground, int tab, unsigned flags = 0, const char* spokenName = "") {
    return row(name, K::Label, twips, text, font, background, foreground, tab, flags, spokenName);
}

ControlDesign numberButton(const char* name, int left, int top, const char* text, int tab) {
    return row(name, K::Button, {left, top, 1215, 1215}, text, numberFont, cyan, none, tab,
               Graphical | Hidden);
}

ControlDesign withTip(ControlDesign design, const char* toolTip) {
    design.toolTip = toolTip;
    return design;
}

std::array<ControlDesign, 32> makeControls() {
    auto paricmd = numberButton("paricmd", 2400, 1560, "", 20);
    paricmd.cursor = ":/cursors/frecce.svg";
    auto cmdExit = withTip(row("cmdExit", K::Button, {6120, 0, 3135, 735}, "E&xit", sans8Bold,
                               QColor(0xC0, 0x00, 0xC0), none, 23, Graphical),
                           "Ti prego resta ancora, forse riuscirai a farmi uscire ");
    cmdExit.picture = {":/pictures/divieto.svg", nullptr, nullptr};
    auto cmdNext = withTip(row("cmdNext", K::Button, {3000, 0, 3210, 735}, "&Clicca per iniziare",
                               sans8Bold, QColor(0x00, 0xC0, 0x00), none, 22, Graphical | Disabled),
                           "Go");
    cmdNext.picture = {":/pictures/sorriso.svg", ":/pictures/serio.svg", ":/pictures/risata.svg"};

    const QColor red(0xFF, 0x00, 0x00), blue(0x00, 0x00, 0xFF), darkGreen(0x00, 0x80, 0x00);
    const QColor yellow(0xFF, 0xFF, 0x00), purple(0xC0, 0x00, 0xC0), paleCyan(0x80, 0xFF, 0xFF);
    return {
        numberButton("disparicmd2", 5040, 6840, "", 31),
        numberButton("disparicmd1", 6840, 5160, "63", 30),
        numberButton("paricmd2", 1560, 6480, "", 29),
        numberButton("paricmd1", 2880, 4200, "", 28),
        cmdExit,
        cmdNext,
        row("Inizio", K::Button, {3840, 120, 1215, 495}, "Inizio", systemFont, none, none, 21,
            Hidden),
        paricmd,
        numberButton("disparicmd", 5760, 1560, "", 19),
        withTip(row("txtAnswer", K::TextBox, {5520, 1680, 2775, 1200}, "", arial48Bold, cyan, none,
                    4, Hidden | Disabled),
                "Inserisci il risultato e  premi il tasto  Invio"),
        label("Label6", {-120, 0, 3135, 735}, "Punti complessivi", sans18, blue,
              QColor(0xFF, 0xFF, 0x80), 27, Border | Centred | AutoSize),
        label("lblMessage", {1560, 3720, 6615, 615}, "", sans24BoldItalic, cyan, red, 26,
              Hidden | Centred),
        withTip(label("lblScore", {600, 840, 1215, 975}, "", times36Bold, yellow, none, 25,
                      Border | Centred, "Punteggio"),
                "Questo è il tuo punteggio. Forza con il  record"),
        label("Punteggio", {960, 1080, 495, 615}, "0", sans24, none, none, 24, Centred | AutoSize,
              "Punteggio"),
        label("lblpunti", {8400, 7800, 270, 555}, "0", sans24, none, purple, 18, AutoSize,
              "Record: nessuno"),
        label("Label13", {6720, 7920, 1455, 435}, "con punti", sans18, none, purple, 17, AutoSize),
        label("lblnome", {2640, 7920, 990, 435}, "nome", sans18Bold, none, blue, 16, AutoSize,
              "Campione: nessuno"),
        label("Label12", {120, 7920, 2295, 375}, "Il record  è di ", sans18, none, purple, 15),
        label("lblnome1", {1920, 4560, 120, 435}, "", sans18Bold, none, darkGreen, 14, AutoSize,
              "Sfidante senza nome"),
        label("Label14", {135, 4560, 1395, 495}, "Sfidante", sans18, none, darkGreen, 13,
              Border | Centred | AutoSize),
        label("Label5", {960, 7680, 6615, 615}, "", sans24BoldItalic, cyan, red, 12,
              Hidden | Centred),
        label("lblconto", {120, 2400, 1575, 495}, "00.00.00", Font{"Arial Black", 12, true, false},
              none, yellow, 11, Border),
        label("Label11", {120, 1920, 1575, 375}, "Tempo restante",
              Font{"MS Sans Serif", 9.75, false, false}, none, yellow, 10),
        label("Label3", {5640, 3840, 2340, 495}, "Risposte totali", sans18, none, blue, 9,
              Hidden | Border | AutoSize),
        label("Label1", {5760, 3120, 2520, 495}, "Risposte errate", sans18, none, red, 8,
              Hidden | Border | AutoSize),
        label("lblScore2", {7560, 2880, 555, 885}, "0", times36Bold, none, blue, 7,
              Hidden | Border | Centred | AutoSize),
        label("lblScore1", {6960, 3600, 540, 885}, "0", times36Bold, none, red, 0,
              Hidden | Border | Centred | AutoSize),
        withTip(label("lblTime", {8400, 1800, 90, 300}, "", Font{"MS Sans Serif", 12, true, false},
                      none, none, 6, Hidden | AutoSize),
                "Clicca sotto di me per attivare il Timer"),
        label("lblNum2", {7080, 2040, 345, 1185}, "", arial48Bold, cyan, none, 5,
              Hidden | Disabled | Border | Centred | AutoSize),
        label("Label4", {7320, 2040, 615, 975}, "=", arial48Bold, paleCyan, none, 3,
              Hidden | Disabled | Centred),
        label("Label2", {7320, 1800, 615, 975}, "X", arial48, paleCyan, none, 2,
              Hidden | Disabled | Centred),
        label("lblNum1", {6840, 1680, 345, 1185}, "", arial48Bold, cyan, none, 1,
              Hidden | Disabled | Border | Centred | AutoSize),
    };
}

const auto allControls = makeControls();

constexpr std::array<MenuDesign, 10> allMenus{{
    {"INFOMAZIONI", "www.scuolaprimaria-esempio.it", nullptr},
    {"ca", "Borgo Esempio", "INFOMAZIONI"},
    {"copy", "Realizzato da Anna Rossi e Luca Bianchi", nullptr},
    {"via", "Via dei Tigli 7 - giochi@esempio.it", "copy"},
    {"Next", "Nuovo gioco", nullptr},
    {"hf", "Help", nullptr},
    {"Ciao", "Ciao campione, mi raccomando colpisci solo i multipli del 15", "hf"},
    {"ok", "Ogni errore  ti farà perdere 4 punti.", "hf"},
    {"d", "Un numero è divisibile per 15 se è divisibile sia per 3 che per 5", "hf"},
    {"h",
     "Es 1365 è divisibile per 15 ed infatti è divisibile  sia per 3, essendo la somma delle "
     "cifre 15, e sia per 5",
     "hf"},
}};

} // namespace

QRect pixelGeometry(const ControlDesign& design) {
    return {design.left / twipsPerPixel, design.top / twipsPerPixel, design.width / twipsPerPixel,
            design.height / twipsPerPixel};
}

std::span<const ControlDesign> controls() {
    return allControls;
}

std::span<const MenuDesign> menus() {
    return allMenus;
}

} // namespace TavolaDesign
