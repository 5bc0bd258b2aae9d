#include "Board.h"

namespace {
std::deque<Control> makeControls() {
    std::deque<Control> controls;
    for (const auto& design : TavolaDesign::controls())
        controls.emplace_back(design);
    return controls;
}
} // namespace

Board::Board()
    : m_controls(makeControls())
    , m_caption(QString::fromLatin1(TavolaDesign::caption))
    , disparicmd2(at("disparicmd2"))
    , disparicmd1(at("disparicmd1"))
    , paricmd2(at("paricmd2"))
    , paricmd1(at("paricmd1"))
    , cmdExit(at("cmdExit"))
    , cmdNext(at("cmdNext"))
    , paricmd(at("paricmd"))
    , disparicmd(at("disparicmd"))
    , lblMessage(at("lblMessage"))
    , Punteggio(at("Punteggio"))
    , lblpunti(at("lblpunti"))
    , lblnome(at("lblnome"))
    , lblnome1(at("lblnome1"))
    , lblconto(at("lblconto"))
    , lblNum1(at("lblNum1"))
    , lblNum2(at("lblNum2")) {}

Control* Board::find(QStringView name) {
    for (Control& control : m_controls)
        if (QLatin1String(control.design().name) == name)
            return &control;
    return nullptr;
}

Control& Board::at(const char* name) {
    Control* control = find(QString::fromLatin1(name));
    Q_ASSERT_X(control, "Board", name);
    return *control;
}

void Board::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    if (m_observer)
        m_observer->captionChanged(m_caption);
}

QString Board::menuCaption(const QString& name) const {
    if (const auto set = m_menuCaptions.constFind(name); set != m_menuCaptions.cend())
        return *set;
    for (const auto& entry : TavolaDesign::menus())
        if (name == QLatin1String(entry.name))
            return QString::fromUtf8(entry.caption);
    return {};
}

void Board::setMenuCaption(const QString& name, const QString& caption) {
    if (menuCaption(name) == caption)
        return;
    m_menuCaptions.insert(name, caption);
    if (m_observer)
        m_observer->menuCaptionChanged(name);
}

void Board::setPaused(bool paused) {
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (m_observer)
        m_observer->pauseChanged(m_paused);
}

void Board::reset() {
    setPaused(false);
    m_menuCaptions.clear();
    for (Control& control : m_controls)
        control.reset();
    Timer1.reset();
    Timer2.reset();
    setCaption(QString::fromLatin1(TavolaDesign::caption));
    canvas.clear();
    if (m_observer)
        m_observer->boardReset();
}

void Board::setObserver(BoardObserver* observer) {
    m_observer = observer;
    for (Control& control : m_controls)
        control.setObserver(observer);
    Timer1.setObserver(observer);
    Timer2.setObserver(observer);
    canvas.setObserver(observer);
}
