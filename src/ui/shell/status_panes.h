#pragma once
// The frame's status bar (id 0xE801): the message pane ("就绪" when nothing else is shown), panes
// 101 "显示信息1" and 102 "显示信息2" of 500 pixels (narrower on a narrow frame, so that the
// message pane keeps its room), and the caps-lock, num-lock and scroll-lock indicators, which
// are shown greyed while their lock is off.
#include <QLabel>
#include <QStatusBar>

class QTimer;

namespace somatrix {

// The states of the three locks, read from the system.
struct CLockKeys {
    bool m_bCaps = false;
    bool m_bNum = false;
    bool m_bScroll = false;
};
CLockKeys ReadLockKeys();

class CStatusPanes : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kStatusBarId = 0xE801;
    static constexpr int kPaneWidth = 500;

    explicit CStatusPanes(QWidget* parent = nullptr);

    // Pane 101 or 102; the caps, num or scroll indicator by its text.
    QLabel* Pane(int id) const;
    QLabel* CapsIndicator() const { return m_pCaps; }
    QLabel* NumIndicator() const { return m_pNum; }
    QLabel* ScrollIndicator() const { return m_pScroll; }
    void ShowLocks(const CLockKeys& locks);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FitPanes();

    QLabel* m_pPane1 = nullptr;
    QLabel* m_pPane2 = nullptr;
    QLabel* m_pCaps = nullptr;
    QLabel* m_pNum = nullptr;
    QLabel* m_pScroll = nullptr;
    QTimer* m_pLockTimer = nullptr;
};

}  // namespace somatrix
