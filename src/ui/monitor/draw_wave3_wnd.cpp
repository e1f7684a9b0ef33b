#include "ui/monitor/draw_wave3_wnd.h"

namespace somatrix {

CDrawWave3Wnd::CDrawWave3Wnd(QWidget* parent) : QWidget(parent) {}
CDrawWave3Wnd::~CDrawWave3Wnd() = default;
void CDrawWave3Wnd::AddSample(int, int, int) {}
void CDrawWave3Wnd::SetZoom(int, int) {}

}  // namespace somatrix
