#include "ui/monitor/info_scree_wnd.h"

namespace somatrix {

CInfoScreeWnd::CInfoScreeWnd(QWidget* parent) : QWidget(parent) {}
CInfoScreeWnd::~CInfoScreeWnd() = default;
void CInfoScreeWnd::SetValues(int, int, int, int) {}
void CInfoScreeWnd::SetResultValues(int, int, int, int) {}
void CInfoScreeWnd::SetMaxMin(bool, int, int, int, int) {}
void CInfoScreeWnd::SetSensor(uint8_t, const QString&) {}
void CInfoScreeWnd::SetMeasuring(bool) {}
void CInfoScreeWnd::SetAmplitude(int) {}

}  // namespace somatrix
