#include "ui/shell/dlg_explain.h"

namespace somatrix {

CDlgExplain::CDlgExplain(const QString&, QWidget* parent) : QWidget(parent) {}
CDlgExplain::~CDlgExplain() = default;
void CDlgExplain::ShowSensorPicture(uint8_t) {}
void CDlgExplain::LoadPicture(const QString&) {}

}  // namespace somatrix
