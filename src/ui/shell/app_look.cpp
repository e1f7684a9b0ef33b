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
    {"Fusion", "#bfdbff", "#ffffff", "#15428b", "#3d7bc4", "#e3efff", "#afd2ff", "#6593cf",
     "#ffe7a2", "#ffbd69", "#fdb458", "#f6f9fe", "#c0d8f4"},
    // Office 2007 black.
    {"Fusion", "#535353", "#3a3a3a", "#ffffff", "#d09a3f", "#6a6a6a", "#2e2e2e", "#151515",
     "#ffe7a2", "#ffbd69", "#fdb458", "#f4f4f4", "#404040"},
    // Office 2007 silver.
    {"Fusion", "#d0d4dd", "#ffffff", "#4c535c", "#6f7a8a", "#f3f4f6", "#c9cdd6", "#8b93a3",
     "#ffe7a2", "#ffbd69", "#fdb458", "#fafafa", "#e1e4ea"},
    // Office 2007 aqua.
    {"Fusion", "#c7e0e4", "#ffffff", "#1a4a53", "#3c8a96", "#e6f3f5", "#a5cdd4", "#5f9ea8",
     "#ffe7a2", "#ffbd69", "#fdb458", "#f6fbfc", "#bcdadf"},
};

int g_nCurrentLook = 0;
int g_nOffice2007Colour = 215;

QString& StartupStyleName() {
    static QString name;
    return name;
}

QPalette MakePalette(const CLookColours& c, const QPalette& standard) {
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
    p.setColor(QPalette::Highlight, QColor(QString::fromLatin1(c.m_pszHighlight)));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor("#ffffe1"));
    p.setColor(QPalette::ToolTipText, Qt::black);
    p.setColor(QPalette::Link, standard.color(QPalette::Link));
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
        "QMainWindow > QMenuBar::item:selected { background: %5; border: 1px solid %6; }"
        "QMainWindow > QMenuBar::item:pressed { background: %7; border: 1px solid %6; }"
        "QMainWindow > QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, "
        "stop:1 %2); border: none; border-bottom: 1px solid %4; spacing: 1px; padding: 1px; }"
        "QMainWindow > QToolBar QToolButton { color: %3; border: 1px solid transparent; "
        "border-radius: 2px; background: transparent; }"
        "QMainWindow > QToolBar QToolButton:hover { background: %5; border-color: %6; }"
        "QMainWindow > QToolBar QToolButton:pressed, QMainWindow > QToolBar QToolButton:checked "
        "{ background: %7; border-color: %6; }"
        "QMainWindow > QToolBar::separator { background: %4; width: 1px; margin: 4px 2px; }"
        "QMainWindow > QStatusBar { background: %9; color: %3; border-top: 1px solid %4; }"
        "QMainWindow > QStatusBar QLabel { color: %3; }"
        "QMainWindow > QStatusBar QLabel:disabled { color: %10; }"
        "QMainWindow > QStatusBar::item { border: 1px solid %4; border-radius: 1px; }"
        "QMenu { background: %8; color: #000000; border: 1px solid %4; }"
        "QMenu::item { padding: 3px 24px 3px 24px; }"
        "QMenu::item:selected { background: %5; border: 1px solid %6; }"
        "QMenu::item:disabled { color: #8d8d8d; }"
        "QMenu::separator { height: 1px; background: %4; margin: 3px 4px 3px 24px; }");
    return sheet
        .arg(QString::fromLatin1(c.m_pszBarTop), QString::fromLatin1(c.m_pszBarBottom),
             QString::fromLatin1(c.m_pszText), QString::fromLatin1(c.m_pszBarBorder),
             QString::fromLatin1(c.m_pszHover), QString::fromLatin1(c.m_pszHoverBorder),
             QString::fromLatin1(c.m_pszPressed), QString::fromLatin1(c.m_pszMenu),
             QString::fromLatin1(c.m_pszStatus))
        .arg(QColor(QString::fromLatin1(c.m_pszStatus)).lightness() < 128 ? "#9a9a9a" : "#8d8d8d");
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
    // Style sheets first: a sheet change repolishes every widget, and the palette set after it is
    // the one the repolished widgets keep.
    app->setStyleSheet(MakeStyleSheet(c));
    QApplication::setPalette(*c.m_pszWindow != '\0' ? MakePalette(c, style->standardPalette())
                                                    : style->standardPalette());
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
