#pragma once
// The live waveform plot of monitoring mode: one white trace on black, fed sample by sample by
// the view's AddSample, painted later from the event loop.
#include <QWidget>

namespace somatrix {

class CDrawWave3Wnd : public QWidget {
    Q_OBJECT
public:
    explicit CDrawWave3Wnd(QWidget* parent = nullptr);
    ~CDrawWave3Wnd() override;

    // One decoded sample; only `value` is drawn.
    void AddSample(int value, int aux1, int aux2);
    // Zoom set by a device selection (the defaults a reset restores stay as they are).
    void SetZoom(int zoomX, int zoomY);
};

}  // namespace somatrix
