#include "ui/review/wave_disp_wnd.h"

namespace somatrix {

CWaveDispWnd::CWaveDispWnd(QWidget* parent) : QWidget(parent) {}
CWaveDispWnd::~CWaveDispWnd() = default;
void CWaveDispWnd::OpenWaveFile() {}
void CWaveDispWnd::SaveWaveFile() {}
void CWaveDispWnd::LoadWaveFile(const QString&) {}

}  // namespace somatrix
