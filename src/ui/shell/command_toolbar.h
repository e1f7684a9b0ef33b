#pragma once
// The command toolbar (id 0xE800): eight 50 × 60 buttons with a 32 × 32 icon above the caption,
// ids 19000..19007, a separator after each. The operator may hide and reorder the buttons
// (command 126); that arrangement is kept across runs.
#include <QList>
#include <QToolBar>

class QAction;

namespace somatrix {

// One button of the arrangement: its id and whether it is shown.
struct CToolButtonSlot {
    int m_nId;
    bool m_bVisible;
    bool operator==(const CToolButtonSlot&) const = default;
};
using CToolbarArrangement = QList<CToolButtonSlot>;

// All eight in their first order, all shown.
CToolbarArrangement DefaultToolbarArrangement();
// The stored arrangement; unknown or repeated ids are dropped and missing ones appended shown,
// so a damaged setting still yields all eight buttons.
CToolbarArrangement LoadToolbarArrangement();
void StoreToolbarArrangement(const CToolbarArrangement& arrangement);

class CCommandToolBar : public QToolBar {
    Q_OBJECT
public:
    static constexpr int kToolbarId = 0xE800;
    static constexpr int kButtonWidth = 50;
    static constexpr int kButtonHeight = 60;

    explicit CCommandToolBar(QWidget* parent = nullptr);

    // The action of button `id` (19000..19007), whether shown or not.
    QAction* Action(int id) const;
    const CToolbarArrangement& Arrangement() const { return m_arrangement; }
    // Shows the buttons in this order and visibility, and stores it.
    void SetArrangement(const CToolbarArrangement& arrangement);
    // Start button pressed while recording, pause button pressed while the log is paused.
    void SetRecording(bool recording, bool paused = false);
    bool IsRecordingShown() const { return m_bRecording; }

signals:
    // A button was pressed: its id.
    void CommandTriggered(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Rebuild();
    void FitCaptions();

    QList<QAction*> m_actions;  // by id - 19000
    QList<QAction*> m_separators;
    CToolbarArrangement m_arrangement;
    bool m_bRecording = false;
    bool m_bPaused = false;
    bool m_bFitting = false;
};

}  // namespace somatrix
