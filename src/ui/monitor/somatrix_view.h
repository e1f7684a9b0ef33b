#pragma once
// The one view of the main window. It draws nothing itself: it owns the live plot, the review
// display, the operation panel and the explanation panel, shows the live ones in monitoring mode
// and the review display in review mode, and carries the selected sensor type, which scales the
// samples it forwards to the plot. It also takes the file commands that lead into review mode.
#include <QWidget>
#include <cstdint>

#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/draw_wave3_wnd.h"
#include "ui/review/wave_disp_wnd.h"
#include "ui/shell/dlg_explain.h"

namespace somatrix {

class CDeviceAccess;

class CSomatrixView : public QWidget {
    Q_OBJECT
public:
    enum EMode { kModeNone = 0, kModeMonitor = 1, kModeReview = 2 };

    // `programFolder` ends with a separator (pictures in its JPG folder); `devices` must outlive
    // the view.
    CSomatrixView(const QString& programFolder, CDeviceAccess& devices, QWidget* parent = nullptr);
    ~CSomatrixView() override;

    int GetMode() const { return m_nMode; }
    uint8_t GetSensorType() const { return m_nSensorType; }

    // One decoded sample, in either mode: a skin-resistance sample is divided by ten
    // (truncating toward zero) before it reaches the live plot.
    void AddSample(int value, int aux1, int aux2);
    // The selected device's type: stored, and the plot's zoom set to X 60 and Y 100 for the
    // heart sound, Y 22 for every other type.
    void SetSensorType(uint8_t type);

    // Places the children for the current mode.
    void ArrangeChildren();
    // First step of the open command: review mode with the review display filling the view
    // from its top-left corner, until the next resize or mode switch.
    void ShowReviewLayout();
    // Command 32781 "界面切换": review from monitoring, monitoring from anything else.
    void OnSwitchInterface();
    // Commands 57601 and 57603.
    void OnFileOpen();
    void OnFileSave();
    // Opens a review file named outside the program (command line), as the open command would.
    void OpenReviewFile(const QString& path);

    CDlgOper& Panel() { return m_dlgOper; }
    CDlgExplain& Explain() { return m_dlgExplain; }
    CDrawWave3Wnd& LivePlot() { return m_wndWave; }
    CWaveDispWnd& ReviewDisplay() { return m_wndWaveDisp; }

signals:
    void ModeChanged(int mode);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetMode(int mode);

    int m_nMode = kModeNone;
    uint8_t m_nSensorType = 0;
    // Created in this order; each lives exactly as long as the view.
    CDrawWave3Wnd m_wndWave;
    CWaveDispWnd m_wndWaveDisp;
    CDlgOper m_dlgOper;
    CDlgExplain m_dlgExplain;
};

}  // namespace somatrix
