#pragma once
// The numeric information panel inside the operation panel: the selected sensor's name and its
// current values, laid out per sensor type, with the running extremes on demand. State and
// layout live in CInfoPanel; this window forwards to it, paces its repaints and paints the
// texts. Its accessible description carries the rows it shows, one a line. For the ECG and
// pulse sensors it also detects the beats in the samples it is handed and shows the heart rate.
#include <QElapsedTimer>
#include <QFont>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "analysis/live_beats.h"
#include "display/info_panel.h"
#include "ui/monitor/paint_pacer.h"

namespace somatrix {

namespace ids {
inline constexpr int kInfoPanelWindow = 1102;
}  // namespace ids

class CInfoScreeWnd : public QWidget {
    Q_OBJECT
public:
    explicit CInfoScreeWnd(QWidget* parent = nullptr);
    ~CInfoScreeWnd() override;

    void SetValues(int v1, int v2, int v3, int v4);
    // A blood-pressure result or end frame's values: the only values drawn as result rows.
    void SetResultValues(int v1, int v2, int v3, int v4);
    void SetMaxMin(bool on, int max1, int min1, int max2, int min2);
    void SetSensor(uint8_t type, const QString& name);
    void SetMeasuring(bool measuring);
    void SetAmplitude(int amplitude);
    // A sample of the selected sensor, for the heart-rate row.
    void AddBeatSample(int value);

    const CInfoPanel& Panel() const { return m_panel; }
    const CPaintPacer& Pacer() const { return m_pacer; }
    // The panel's two fonts: "宋体", or an installed CJK face where it is missing.
    static QFont PanelFont(int pixelHeight, int averageWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect HeaderBand() const;
    QRect ValueArea() const;
    void UpdateHeartRate();

    CInfoPanel m_panel;
    CPaintPacer m_pacer;
    QFont m_small;
    QFont m_large;
    CLiveBeats m_beats;
    QElapsedTimer m_clock;
    QTimer m_rateTimer;  // lapses the rate when the beats stop
};

}  // namespace somatrix
