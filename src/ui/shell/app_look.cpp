#include "ui/shell/app_look.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <cmath>

#include "ui/shell/command_ids.h"
#include "ui/shell/shell_texts.h"

namespace somatrix {

namespace {

constexpr const char* kLookKey = "ApplicationLook";

// What makes one look: the Qt style it draws with, its palette's base colours, and the colours
// of the frame's bars. Empty bar colours leave the bars to the style.
struct CLookColours {
    const char* m_pszStyle;   // "Windows", "Fusion", or "" for the style the program started with
    const char* m_pszWindow;  // window and button face
    const char* m_pszBase;    // edit and list background
    const char* m_pszText;    // window and button text
    const char* m_pszHighlight;
    const char* m_pszBarTop;  // toolbar and menu bar gradient
    const char* m_pszBarBottom;
    const char* m_pszBarBorder;
    const char* m_pszHover;  // hot and pressed buttons, selected menu items
    const char* m_pszHoverBorder;
    const char* m_pszPressed;
    const char* m_pszMenu;  // drop-down menu background
    const char* m_pszStatus;
};

// Ids 210..218 in order.
constexpr CLookColours kColours[] = {
    // Windows 2000: the classic bevelled style on the grey of that system; no bar colours.
    {"Windows", "#d4d0c8", "#ffffff", "#000000", "#0a246a", "", "", "", "", "", "", "", ""},
    // Office XP: flat bars, hot items framed in blue on a pale blue fill.
    {"Fusion", "#ece9d8", "#ffffff", "#000000", "#316ac5", "#f6f5f0", "#ebe9e0", "#c5c2b8",
     "#c1d2ee", "#316ac5", "#98b5e2", "#fcfcf9", "#ece9d8"},
    // Windows XP: the style and palette of the desktop the program runs on.
    {"", "", "", "", "", "", "", "", "", "", "", "", ""},
    // Office 2003: blue gradient bars, orange hot items.
    {"Fusion", "#e3efff", "#ffffff", "#000000", "#316ac5", "#ddecfe", "#81a9e2", "#3b619c",
     "#ffeec2", "#000080", "#fe914e", "#f6f6f6", "#c4daff"},
    // Visual Studio 2005: warm grey gradient bars, blue hot items.
    {"Fusion", "#f0efe8", "#ffffff", "#000000", "#316ac5", "#fafaf9", "#d4d1c4", "#a7a6aa",
     "#c1d2ee", "#316ac5", "#98b5e2", "#fcfcf9", "#e5e3d7"},
    // Office 2007 blue.
    {"Fusion", "#bfdbff", "#ffffff", "#15428b", "#2f6db5", "#e3efff", "#afd2ff", "#6593cf",
     "#ffe7a2", "#ffbd69", "#fdb458", "#f6f9fe", "#c0d8f4"},
    // Office 2007 black.
    {"Fusion", "#535353", "#3a3a3a", "#ffffff", "#d09a3f", "#6a6a6a", "#2e2e2e", "#151515",
     "#ffe7a2", "#ffbd69", "#fdb458", "#f4f4f4", "#404040"},
    // Office 2007 silver.
    {"Fusion", "#d0d4dd", "#ffffff", "#4c535c", "#5f6a7a", "#f3f4f6", "#c9cdd6", "#8b93a3",
     "#ffe7a2", "#ffbd69", "#fdb458", "#fafafa", "#e1e4ea"},
    // Office 2007 aqua.
    {"Fusion", "#c7e0e4", "#ffffff", "#1a4a53", "#2e727c", "#e6f3f5", "#a5cdd4", "#5f9ea8",
     "#ffe7a2", "#ffbd69", "#fdb458", "#f6fbfc", "#bcdadf"},
};

// Status and information lines are blue; on a dark face a light blue, which reads there.
constexpr const char* kBlueOnLight = "#0000ff";
constexpr const char* kBlueOnDark = "#b8d6ff";
// Hot and pressed items are light in every look: their text is black.
constexpr const char* kHotText = "#000000";

// Relative luminance as the contrast rule of the accessibility guidelines defines it.
double Luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// Black or white, whichever stands out more on `background`.
QColor ReadableOn(const QColor& background) {
    return Luminance(background) > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
}

int g_nCurrentLook = 0;
int g_nOffice2007Colour = 215;

QString& StartupStyleName() {
    static QString name;
    return name;
}

QPalette MakePalette(const CLookColours& c) {
    const QColor window(QString::fromLatin1(c.m_pszWindow));
    const QColor text(QString::fromLatin1(c.m_pszText));
    QPalette p(window);
    const bool dark = window.lightness() < 128;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Base, QColor(QString::fromLatin1(c.m_pszBase)));
    p.setColor(QPalette::AlternateBase, window.lighter(dark ? 130 : 108));
    p.setColor(QPalette::Text, dark ? QColor(Qt::white) : QColor(Qt::black));
    const QColor highlight(QString::fromLatin1(c.m_pszHighlight));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, ReadableOn(highlight));
    p.setColor(QPalette::ToolTipBase, QColor("#ffffe1"));
    p.setColor(QPalette::ToolTipText, Qt::black);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        p.setColor(QPalette::Disabled, role, dark ? QColor("#8c8c8c") : QColor("#8d8d8d"));
    }
    return p;
}

QString MakeStyleSheet(const CLookColours& c) {
    if (*c.m_pszBarTop == '\0') {
        return {};
    }
    const QString sheet = QStringLiteral(
        "QMainWindow > QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, "
        "stop:1 %2); color: %3; border-bottom: 1px solid %4; }"
        "QMainWindow > QMenuBar::item { background: transparent; padding: 3px 8px; }"
        "QMainWindow > QMenuBar::item:selected { background: %5; border: 1px solid %6; "
        "color: %11; }"
        "QMainWindow > QMenuBar::item:pressed { background: %7; border: 1px solid %6; "
        "color: %11; }"
        "QMainWindow > QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, "
        "stop:1 %2); border: none; border-bottom: 1px solid %4; spacing: 1px; padding: 1px; }"
        "QMainWindow > QToolBar QToolButton { color: %3; border: 1px solid transparent; "
        "border-radius: 2px; background: transparent; }"
        "QMainWindow > QToolBar QToolButton:hover { background: %5; border-color: %6; "
        "color: %11; }"
        "QMainWindow > QToolBar QToolButton:pressed, QMainWindow > QToolBar QToolButton:checked "
        "{ background: %7; border-color: %6; color: %11; }"
        "QMainWindow > QToolBar::separator { background: %4; width: 1px; margin: 4px 2px; }"
        "QMainWindow > QStatusBar { background: %9; color: %3; border-top: 1px solid %4; }"
        "QMainWindow > QStatusBar QLabel { color: %3; }"
        "QMainWindow > QStatusBar QLabel:disabled { color: %10; }"
        "QMainWindow > QStatusBar::item { border: 1px solid %4; border-radius: 1px; }"
        "QMenu { background: %8; color: #000000; border: 1px solid %4; }"
        "QMenu::item { padding: 3px 24px 3px 24px; }"
        "QMenu::item:selected { background: %5; border: 1px solid %6; color: %11; }"
        "QMenu::item:disabled { color: #8d8d8d; }"
        "QMenu::separator { height: 1px; background: %4; margin: 3px 4px 3px 24px; }");
    return sheet
        .arg(QString::fromLatin1(c.m_pszBarTop), QString::fromLatin1(c.m_pszBarBottom),
             QString::fromLatin1(c.m_pszText), QString::fromLatin1(c.m_pszBarBorder),
             QString::fromLatin1(c.m_pszHover), QString::fromLatin1(c.m_pszHoverBorder),
             QString::fromLatin1(c.m_pszPressed), QString::fromLatin1(c.m_pszMenu),
             QString::fromLatin1(c.m_pszStatus))
        .arg(QColor(QString::fromLatin1(c.m_pszStatus)).lightness() < 128 ? "#9a9a9a" : "#8d8d8d",
             QLatin1String(kHotText));
}

QSettings OpenSettings() {
    return QSettings();
}

}  // namespace

int LoadApplicationLook() {
    return OpenSettings().value(QLatin1String(kLookKey), ids::kDefaultLook).toInt();
}

void StoreApplicationLook(int id) {
    QSettings settings = OpenSettings();
    settings.setValue(QLatin1String(kLookKey), id);
    settings.sync();
}

std::vector<CTextOnBackground> LookBarTexts(int id) {
    if (id < ids::kLookFirst || id > ids::kLookLast) {
        return {};
    }
    const CLookColours& c = kColours[id - ids::kLookFirst];
    if (*c.m_pszBarTop == '\0') {
        return {};
    }
    const auto colour = [](const char* name) { return QColor(QLatin1String(name)); };
    const QColor text = colour(c.m_pszText);
    const QColor hot = colour(kHotText);
    return {{text, colour(c.m_pszBarTop), "bar top"},
            {text, colour(c.m_pszBarBottom), "bar bottom"},
            {text, colour(c.m_pszStatus), "status bar"},
            {hot, colour(c.m_pszHover), "hot item"},
            {hot, colour(c.m_pszPressed), "pressed item"},
            {QColor(Qt::black), colour(c.m_pszMenu), "menu"}};
}

int CurrentApplicationLook() {
    return g_nCurrentLook;
}

void ApplyApplicationLook(int id) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return;
    }
    if (StartupStyleName().isEmpty()) {
        StartupStyleName() = QApplication::style()->name();
    }
    int colours = id;
    if (id >= 215 && id <= ids::kLookLast) {
        g_nOffice2007Colour = id;
    } else if (id < ids::kLookFirst || id > ids::kLookLast) {
        colours = g_nOffice2007Colour;
    }
    g_nCurrentLook = id;
    const CLookColours& c = kColours[colours - ids::kLookFirst];
    const QString styleName =
        *c.m_pszStyle != '\0' ? QString::fromLatin1(c.m_pszStyle) : StartupStyleName();
    QStyle* style = QStyleFactory::create(styleName);
    if (style == nullptr) {
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    }
    QApplication::setStyle(style);
    QPalette palette = *c.m_pszWindow != '\0' ? MakePalette(c) : style->standardPalette();
    palette.setColor(
        QPalette::Link,
        QColor(QLatin1String(Luminance(palette.color(QPalette::Window)) < 0.18 ? kBlueOnDark
                                                                               : kBlueOnLight)));
    // The desktop's own palette too: selected text in whichever of black and white reads.
    palette.setColor(QPalette::HighlightedText, ReadableOn(palette.color(QPalette::Highlight)));
    // The palette first, then the sheet. The sheet gives only the bars it names colours of their
    // own, merged over the palette of the moment; every other widget keeps following the
    // application's palette, so none keeps a colour of the look before (by default a sheet
    // change pins each widget's whole palette as it was).
    QCoreApplication::setAttribute(Qt::AA_UseStyleSheetPropagationInWidgetStyles, true);
    QApplication::setPalette(palette);
    app->setStyleSheet(MakeStyleSheet(c));
    // The painted windows draw with their own colours but frame themselves with the palette.
    for (QWidget* widget : QApplication::allWidgets()) {
        widget->update();
    }
}

CLookMenu::CLookMenu(QWidget* parent) : QObject(parent) {
    m_pMenu = new QMenu(QString::fromUtf8(texts::kLookMenu), parent);
    m_pGroup = new QActionGroup(this);
    m_pGroup->setExclusive(true);
    QMenu* office2007 = nullptr;
    for (const CLookEntry& look : kLooks) {
        QMenu* target = m_pMenu;
        if (look.m_nId >= 215) {
            if (office2007 == nullptr) {
                office2007 = m_pMenu->addMenu(QString::fromUtf8(texts::kOffice2007Menu));
            }
            target = office2007;
        }
        QAction* action = target->addAction(QString::fromUtf8(look.m_pszText));
        action->setData(look.m_nId);
        action->setCheckable(true);
        m_pGroup->addAction(action);
        const int id = look.m_nId;
        connect(action, &QAction::triggered, this, [this, id] { OnApplicationLook(id); });
    }
    UpdateChecks();
}

QAction* CLookMenu::Action(int id) const {
    for (QAction* action : m_pGroup->actions()) {
        if (action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

void CLookMenu::OnApplicationLook(int id) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ApplyApplicationLook(id);
    StoreApplicationLook(id);
    QApplication::restoreOverrideCursor();
    UpdateChecks();
    emit LookChanged(id);
}

void CLookMenu::UpdateChecks() {
    const int current = CurrentApplicationLook();
    for (QAction* action : m_pGroup->actions()) {
        action->setChecked(action->data().toInt() == current);
    }
}

}  // namespace somatrix
