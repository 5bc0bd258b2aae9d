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

ControlDesign control(const char* name, Kind kind, int left, int top, int width, int height,
                      const char* text, Font font, QColor background, QColor foreground, int tab) {
    ControlDesign c{name, kind, left, top, width, height, text, font, background, foreground};
    c.tabIndex = tab;
    return c;
}

ControlDesign numberButton(const char* name, int left, int top, const char* text, int tab) {
    ControlDesign c =
        control(name, K::Button, left, top, 1215, 1215, text, numberFont, cyan, none, tab);
    c.graphical = true;
    c.hidden = true;
    return c;
}

ControlDesign label(const char* name, int left, int top, int width, int height, const char* text,
                    Font font, QColor background, QColor foreground, int tab) {
    return control(name, K::Label, left, top, width, height, text, font, background, foreground,
                   tab);
}

std::array<ControlDesign, 32> makeControls() {
    auto paricmd = numberButton("paricmd", 2400, 1560, "", 20);
    paricmd.cursor = ":/cursors/frecce.svg";

    auto cmdExit = control("cmdExit", K::Button, 6120, 0, 3135, 735, "E&xit", sans8Bold,
                           QColor(0xC0, 0x00, 0xC0), none, 23);
    cmdExit.graphical = true;
    cmdExit.toolTip = "Ti prego resta ancora, forse riuscirai a farmi uscire ";
    cmdExit.picture = {":/pictures/divieto.svg", nullptr, nullptr};

    auto cmdNext = control("cmdNext", K::Button, 3000, 0, 3210, 735, "&Clicca per iniziare",
                           sans8Bold, QColor(0x00, 0xC0, 0x00), none, 22);
    cmdNext.graphical = true;
    cmdNext.disabled = true;
    cmdNext.toolTip = "Go";
    cmdNext.picture = {":/pictures/sorriso.svg", ":/pictures/serio.svg", ":/pictures/risata.svg"};

    auto inizio =
        control("Inizio", K::Button, 3840, 120, 1215, 495, "Inizio", systemFont, none, none, 21);
    inizio.hidden = true;

    auto txtAnswer =
        control("txtAnswer", K::TextBox, 5520, 1680, 2775, 1200, "", arial48Bold, cyan, none, 4);
    txtAnswer.hidden = true;
    txtAnswer.disabled = true;
    txtAnswer.toolTip = "Inserisci il risultato e  premi il tasto  Invio";

    auto label6 = label("Label6", -120, 0, 3135, 735, "Punti complessivi", sans18,
                        QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0xFF, 0x80), 27);
    label6.border = label6.centred = label6.autoSize = true;

    auto lblMessage = label("lblMessage", 1560, 3720, 6615, 615, "", sans24BoldItalic, cyan,
                            QColor(0xFF, 0x00, 0x00), 26);
    lblMessage.hidden = lblMessage.centred = true;

    auto lblScore =
        label("lblScore", 600, 840, 1215, 975, "", times36Bold, QColor(0xFF, 0xFF, 0x00), none, 25);
    lblScore.border = lblScore.centred = true;
    lblScore.toolTip = "Questo è il tuo punteggio. Forza con il  record";
    lblScore.spokenName = "Punteggio";

    auto punteggio = label("Punteggio", 960, 1080, 495, 615, "0", sans24, none, none, 24);
    punteggio.centred = punteggio.autoSize = true;
    punteggio.spokenName = "Punteggio";

    const QColor purple(0xC0, 0x00, 0xC0);
    auto lblpunti = label("lblpunti", 8400, 7800, 270, 555, "0", sans24, none, purple, 18);
    lblpunti.autoSize = true;
    lblpunti.spokenName = "Record: nessuno";
    auto label13 = label("Label13", 6720, 7920, 1455, 435, "con punti", sans18, none, purple, 17);
    label13.autoSize = true;
    auto lblnome =
        label("lblnome", 2640, 7920, 990, 435, "nome", sans18Bold, none, QColor(0, 0, 0xFF), 16);
    lblnome.autoSize = true;
    lblnome.spokenName = "Campione: nessuno";
    auto label12 =
        label("Label12", 120, 7920, 2295, 375, "Il record  è di ", sans18, none, purple, 15);

    const QColor green(0x00, 0x80, 0x00);
    auto lblnome1 = label("lblnome1", 1920, 4560, 120, 435, "", sans18Bold, none, green, 14);
    lblnome1.autoSize = true;
    lblnome1.spokenName = "Sfidante senza nome";
    auto label14 = label("Label14", 135, 4560, 1395, 495, "Sfidante", sans18, none, green, 13);
    label14.border = label14.centred = label14.autoSize = true;

    auto label5 = label("Label5", 960, 7680, 6615, 615, "", sans24BoldItalic, cyan,
                        QColor(0xFF, 0x00, 0x00), 12);
    label5.hidden = label5.centred = true;

    const QColor yellow(0xFF, 0xFF, 0x00);
    auto lblconto = label("lblconto", 120, 2400, 1575, 495, "00.00.00",
                          Font{"Arial Black", 12, true, false}, none, yellow, 11);
    lblconto.border = true;
    auto label11 = label("Label11", 120, 1920, 1575, 375, "Tempo restante",
                         Font{"MS Sans Serif", 9.75, false, false}, none, yellow, 10);

    auto label3 = label("Label3", 5640, 3840, 2340, 495, "Risposte totali", sans18, none,
                        QColor(0, 0, 0xFF), 9);
    label3.hidden = label3.border = label3.autoSize = true;
    auto label1 = label("Label1", 5760, 3120, 2520, 495, "Risposte errate", sans18, none,
                        QColor(0xFF, 0, 0), 8);
    label1.hidden = label1.border = label1.autoSize = true;
    auto lblScore2 =
        label("lblScore2", 7560, 2880, 555, 885, "0", times36Bold, none, QColor(0, 0, 0xFF), 7);
    lblScore2.hidden = lblScore2.border = lblScore2.centred = lblScore2.autoSize = true;
    auto lblScore1 =
        label("lblScore1", 6960, 3600, 540, 885, "0", times36Bold, none, QColor(0xFF, 0, 0), 0);
    lblScore1.hidden = lblScore1.border = lblScore1.centred = lblScore1.autoSize = true;
    auto lblTime = label("lblTime", 8400, 1800, 90, 300, "", Font{"MS Sans Serif", 12, true, false},
                         none, none, 6);
    lblTime.hidden = lblTime.autoSize = true;
    lblTime.toolTip = "Clicca sotto di me per attivare il Timer";

    const QColor paleCyan(0x80, 0xFF, 0xFF);
    auto lblNum2 = label("lblNum2", 7080, 2040, 345, 1185, "", arial48Bold, cyan, none, 5);
    lblNum2.hidden = lblNum2.disabled = lblNum2.border = lblNum2.centred = lblNum2.autoSize = true;
    auto label4 = label("Label4", 7320, 2040, 615, 975, "=", arial48Bold, paleCyan, none, 3);
    label4.hidden = label4.disabled = label4.centred = true;
    auto label2 = label("Label2", 7320, 1800, 615, 975, "X", arial48, paleCyan, none, 2);
    label2.hidden = label2.disabled = label2.centred = true;
    auto lblNum1 = label("lblNum1", 6840, 1680, 345, 1185, "", arial48Bold, cyan, none, 1);
    lblNum1.hidden = lblNum1.disabled = lblNum1.border = lblNum1.centred = lblNum1.autoSize = true;

    return {numberButton("disparicmd2", 5040, 6840, "", 31),
            numberButton("disparicmd1", 6840, 5160, "63", 30),
            numberButton("paricmd2", 1560, 6480, "", 29),
            numberButton("paricmd1", 2880, 4200, "", 28),
            cmdExit,
            cmdNext,
            inizio,
            paricmd,
            numberButton("disparicmd", 5760, 1560, "", 19),
            txtAnswer,
            label6,
            lblMessage,
            lblScore,
            punteggio,
            lblpunti,
            label13,
            lblnome,
            label12,
            lblnome1,
            label14,
            label5,
            lblconto,
            label11,
            label3,
            label1,
            lblScore2,
            lblScore1,
            lblTime,
            lblNum2,
            label4,
            label2,
            lblNum1};
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
