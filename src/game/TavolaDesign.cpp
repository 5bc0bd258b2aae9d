#include "game/TavolaDesign.h"

#include <array>

namespace TavolaDesign {

namespace {

using K = Kind;

const QColor cyan(0x00, 0xFF, 0xFF);

constexpr Font numberFont{"MS Sans Serif", 24, true, false};
constexpr Font sans8Bold{"MS Sans Serif", 8.25, true, false};
constexpr Font sans18{"MS Sans Serif", 18, false, false};
constexpr Font sans18Bold{"MS Sans Serif", 18, true, false};
constexpr Font sans24{"MS Sans Serif", 24, false, false};
constexpr Font sans24BoldItalic{"MS Sans Serif", 24, true, true};
constexpr Font times36Bold{"Times New Roman", 36, true, false};
constexpr Font arial48Bold{"Arial", 48, true, false};
constexpr Font arial48{"Arial", 48, false, false};

ControlDesign numberButton(const char* name, int left, int top, const char* text, int tab) {
    return {.name = name,
            .twips = {left, top, 1215, 1215},
            .text = text,
            .font = numberFont,
            .background = cyan,
            .tabIndex = tab,
            .flags = Graphical | Hidden,
            .kind = K::Button};
}

std::array<ControlDesign, 32> makeControls() {
    auto paricmd = numberButton("paricmd", 2400, 1560, "", 20);
    paricmd.cursor = ":/cursors/frecce.svg";
    const QColor red(0xFF, 0x00, 0x00), blue(0x00, 0x00, 0xFF), darkGreen(0x00, 0x80, 0x00);
    const QColor yellow(0xFF, 0xFF, 0x00), purple(0xC0, 0x00, 0xC0), paleCyan(0x80, 0xFF, 0xFF);
    // A row a control, its fields packed as in any call: one field a line would hide the table.
    // clang-format off
    return {
        numberButton("disparicmd2", 5040, 6840, "", 31),
        numberButton("disparicmd1", 6840, 5160, "63", 30),
        numberButton("paricmd2", 1560, 6480, "", 29),
        numberButton("paricmd1", 2880, 4200, "", 28),
        {.name = "cmdExit", .twips = {6120, 0, 3135, 735}, .text = "E&xit", .font = sans8Bold,
         .background = purple, .tabIndex = 23, .flags = Graphical, .kind = K::Button,
         .toolTip = "Ti prego resta ancora, forse riuscirai a farmi uscire ",
         .picture = {":/pictures/divieto.svg", nullptr, nullptr}},
        {.name = "cmdNext", .twips = {3000, 0, 3210, 735}, .text = "&Clicca per iniziare",
         .font = sans8Bold, .background = QColor(0x00, 0xC0, 0x00), .tabIndex = 22,
         .flags = Graphical | Disabled, .kind = K::Button, .toolTip = "Go",
         .picture = {":/pictures/sorriso.svg", ":/pictures/serio.svg", ":/pictures/risata.svg"}},
        {.name = "Inizio", .twips = {3840, 120, 1215, 495}, .text = "Inizio", .tabIndex = 21,
         .flags = Hidden, .kind = K::Button},
        paricmd,
        numberButton("disparicmd", 5760, 1560, "", 19),
        {.name = "txtAnswer", .twips = {5520, 1680, 2775, 1200}, .font = arial48Bold,
         .background = cyan, .tabIndex = 4, .flags = Hidden | Disabled, .kind = K::TextBox,
         .toolTip = "Inserisci il risultato e  premi il tasto  Invio"},
        {.name = "Label6", .twips = {-120, 0, 3135, 735}, .text = "Punti complessivi",
         .font = sans18, .background = blue, .foreground = QColor(0xFF, 0xFF, 0x80), .tabIndex = 27,
         .flags = Border | Centred | AutoSize},
        {.name = "lblMessage", .twips = {1560, 3720, 6615, 615}, .font = sans24BoldItalic,
         .background = cyan, .foreground = red, .tabIndex = 26, .flags = Hidden | Centred},
        {.name = "lblScore", .twips = {600, 840, 1215, 975}, .font = times36Bold,
         .background = yellow, .tabIndex = 25, .flags = Border | Centred,
         .toolTip = "Questo è il tuo punteggio. Forza con il  record", .spokenName = "Punteggio"},
        {.name = "Punteggio", .twips = {960, 1080, 495, 615}, .text = "0", .font = sans24,
         .tabIndex = 24, .flags = Centred | AutoSize, .spokenName = "Punteggio"},
        {.name = "lblpunti", .twips = {8400, 7800, 270, 555}, .text = "0", .font = sans24,
         .foreground = purple, .tabIndex = 18, .flags = AutoSize, .spokenName = "Record: nessuno"},
        {.name = "Label13", .twips = {6720, 7920, 1455, 435}, .text = "con punti", .font = sans18,
         .foreground = purple, .tabIndex = 17, .flags = AutoSize},
        {.name = "lblnome", .twips = {2640, 7920, 990, 435}, .text = "nome", .font = sans18Bold,
         .foreground = blue, .tabIndex = 16, .flags = AutoSize, .spokenName = "Campione: nessuno"},
        {.name = "Label12", .twips = {120, 7920, 2295, 375}, .text = "Il record  è di ",
         .font = sans18, .foreground = purple, .tabIndex = 15},
        {.name = "lblnome1", .twips = {1920, 4560, 120, 435}, .font = sans18Bold,
         .foreground = darkGreen, .tabIndex = 14, .flags = AutoSize,
         .spokenName = "Sfidante senza nome"},
        {.name = "Label14", .twips = {135, 4560, 1395, 495}, .text = "Sfidante", .font = sans18,
         .foreground = darkGreen, .tabIndex = 13, .flags = Border | Centred | AutoSize},
        {.name = "Label5", .twips = {960, 7680, 6615, 615}, .font = sans24BoldItalic,
         .background = cyan, .foreground = red, .tabIndex = 12, .flags = Hidden | Centred},
        {.name = "lblconto", .twips = {120, 2400, 1575, 495}, .text = "00.00.00",
         .font = {"Arial Black", 12, true, false}, .foreground = yellow, .tabIndex = 11,
         .flags = Border},
        {.name = "Label11", .twips = {120, 1920, 1575, 375}, .text = "Tempo restante",
         .font = {"MS Sans Serif", 9.75, false, false}, .foreground = yellow, .tabIndex = 10},
        {.name = "Label3", .twips = {5640, 3840, 2340, 495}, .text = "Risposte totali",
         .font = sans18, .foreground = blue, .tabIndex = 9, .flags = Hidden | Border | AutoSize},
        {.name = "Label1", .twips = {5760, 3120, 2520, 495}, .text = "Risposte errate",
         .font = sans18, .foreground = red, .tabIndex = 8, .flags = Hidden | Border | AutoSize},
        {.name = "lblScore2", .twips = {7560, 2880, 555, 885}, .text = "0", .font = times36Bold,
         .foreground = blue, .tabIndex = 7, .flags = Hidden | Border | Centred | AutoSize},
        {.name = "lblScore1", .twips = {6960, 3600, 540, 885}, .text = "0", .font = times36Bold,
         .foreground = red, .tabIndex = 0, .flags = Hidden | Border | Centred | AutoSize},
        {.name = "lblTime", .twips = {8400, 1800, 90, 300},
         .font = {"MS Sans Serif", 12, true, false}, .tabIndex = 6, .flags = Hidden | AutoSize,
         .toolTip = "Clicca sotto di me per attivare il Timer"},
        {.name = "lblNum2", .twips = {7080, 2040, 345, 1185}, .font = arial48Bold,
         .background = cyan, .tabIndex = 5,
         .flags = Hidden | Disabled | Border | Centred | AutoSize},
        {.name = "Label4", .twips = {7320, 2040, 615, 975}, .text = "=", .font = arial48Bold,
         .background = paleCyan, .tabIndex = 3, .flags = Hidden | Disabled | Centred},
        {.name = "Label2", .twips = {7320, 1800, 615, 975}, .text = "X", .font = arial48,
         .background = paleCyan, .tabIndex = 2, .flags = Hidden | Disabled | Centred},
        {.name = "lblNum1", .twips = {6840, 1680, 345, 1185}, .font = arial48Bold,
         .background = cyan, .tabIndex = 1,
         .flags = Hidden | Disabled | Border | Centred | AutoSize},
    };
    // clang-format on
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
    const QRect& t = design.twips;
    return {t.x() / twipsPerPixel, t.y() / twipsPerPixel, t.width() / twipsPerPixel,
            t.height() / twipsPerPixel};
}

std::span<const ControlDesign> controls() {
    return allControls;
}

std::span<const MenuDesign> menus() {
    return allMenus;
}

} // namespace TavolaDesign
