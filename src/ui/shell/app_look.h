#pragma once
// The nine application looks 210..218: each a Qt style with its own palette and a style sheet for
// the frame's menu bar, toolbars and status bar. The chosen id is a program-wide setting kept as
// "ApplicationLook" (214 when absent) and applied before the main frame first shows.
#include <QColor>
#include <QObject>
#include <QString>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace somatrix {

struct CLookEntry {
    int m_nId;
    const char* m_pszText;
};

// Ids and menu texts in menu order; 215..218 sit in the "Office 2007(&7)" submenu.
inline constexpr CLookEntry kLooks[] = {{210, "Windows 2000(&2)"},
                                        {211, "Office XP(&X)"},
                                        {212, "Windows XP(&W)"},
                                        {213, "Office 2003(&3)"},
                                        {214, "Visual Studio.NET 2005(&5)"},
                                        {215, "蓝色样式(&B)"},
                                        {216, "黑色样式(&L)"},
                                        {217, "银色样式(&S)"},
                                        {218, "水绿色样式(&A)"}};

// The stored look, 214 when none is stored.
int LoadApplicationLook();
void StoreApplicationLook(int id);

// Switches the whole program to look `id` and redraws every window. An id outside 210..218
// gives the Office 2007 style in its current colour (blue until another colour was chosen).
void ApplyApplicationLook(int id);
// Text colours of the frame's bars in look `id`, each with the background it is drawn on (the
// palette's pairs are read from the applied palette). Empty where the style draws the bars.
struct CTextOnBackground {
    QColor m_text;
    QColor m_background;
    const char* m_pszWhere;
};
std::vector<CTextOnBackground> LookBarTexts(int id);

// The look last applied, 0 before the first.
int CurrentApplicationLook();

// The "应用程序外观(&A)" submenu with its radio items (the current look checked). Choosing one
// applies it, stores it and updates the check marks.
class CLookMenu : public QObject {
    Q_OBJECT
public:
    explicit CLookMenu(QWidget* parent);
    QMenu* Menu() const { return m_pMenu; }
    QAction* Action(int id) const;
    // The look command: wait cursor, apply, store, check.
    void OnApplicationLook(int id);

signals:
    void LookChanged(int id);

private:
    void UpdateChecks();

    QMenu* m_pMenu = nullptr;
    QActionGroup* m_pGroup = nullptr;
};

}  // namespace somatrix
