#include "ui/monitor/dlg_oper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>

#include "platform/program_folder.h"
#include "platform/reconnect_runner.h"
#include "platform/scan_runner.h"
#include "ui/monitor/device_access.h"
#include "ui/monitor/info_scree_wnd.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/shell/message_box.h"

namespace somatrix {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CDlgOper::CDlgOper(CSomatrixView* view, CDeviceAccess& devices, QWidget* parent)
    : QWidget(parent), m_pView(view), m_devices(devices), m_core(*this) {
    // The classic dialog font's size, so every text fits the dialog-unit rectangles.
    QFont panelFont = font();
    panelFont.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                           QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK")});
    panelFont.setPixelSize(12);
    setFont(panelFont);

    CreateUpperGroup();
    CreateLowerGroup();
    m_pScanRunner = std::make_unique<CScanRunner>(m_core, *this, this);
    m_pScanRunner->SetFinishedHandler([this] { emit ScanningChanged(false); });
    m_pReconnectRunner = std::make_unique<CReconnectRunner>(
        m_core, *m_pScanRunner, m_devices.Ports(), m_devices.Clock(), this);
    CreateReconnectControls();

    m_core.SetSerialLink(&m_devices.Link());
    m_core.SetLogFolder(GetLogFolder());
    m_pOnlineOnly->setChecked(m_core.IsOnlineOnly());
    m_pProgress->setRange(0, static_cast<int>(m_core.GetCatalogue().GetCount()));
    m_pCalibration->setCurrentIndex(0);
    m_pMode->setCurrentIndex(0);
    m_core.Initialise(GetIniPath());
    ConnectControls();
}

CDlgOper::~CDlgOper() {
    m_pReconnectRunner.reset();
    m_core.Shutdown();
    m_core.SetSerialLink(nullptr);
}

void CDlgOper::ConnectControls() {
    connect(m_pStart, &QPushButton::clicked, this, [this] { m_core.OnStart(); });
    connect(m_pStop, &QPushButton::clicked, this, [this] { m_core.OnStop(); });
    connect(m_pMaxMin, &QPushButton::toggled, this, [this](bool on) { m_core.OnMaxMin(on); });
    connect(m_pReadNumber, &QPushButton::clicked, this, [this] { m_core.OnReadDeviceNumber(); });
    connect(m_pReadDate, &QPushButton::clicked, this, [this] { m_core.OnReadProductionDate(); });
    connect(m_pGainDown, &QPushButton::clicked, this, [this] { m_core.OnGainDown(); });
    connect(m_pGainUp, &QPushButton::clicked, this, [this] { m_core.OnGainUp(); });
    connect(m_pSleep, &QPushButton::clicked, this, [this] { m_core.OnSleep(); });
    connect(m_pWake, &QPushButton::clicked, this, [this] { m_core.OnWake(); });
    // A choice of the operator, also of the entry already shown: the request goes out again.
    connect(m_pCalibration, &QComboBox::activated, this,
            [this](int index) { m_core.OnCalibration(index); });
    connect(m_pMode, &QComboBox::activated, this, [this](int index) { m_core.OnMode(index); });
    connect(m_pScan, &QPushButton::clicked, this, [this] { OnScan(); });
    connect(m_pSlowScan, &QCheckBox::toggled, this, [this](bool on) { m_core.SetSlowScan(on); });
    connect(m_pOnlineOnly, &QCheckBox::toggled, this,
            [this](bool on) { m_core.SetOnlineOnly(on); });
    connect(m_pDeviceList, &QComboBox::currentIndexChanged, this,
            [this](int position) { m_core.OnDeviceListSelect(position); });
}

bool CDlgOper::OnScan() {
    if (!m_pScanRunner->Start(m_devices.Ports(), m_devices.Clock())) {
        return false;
    }
    emit ScanningChanged(true);
    return true;
}

bool CDlgOper::IsScanning() const {
    return m_pScanRunner->IsRunning();
}

void CDlgOper::OnStartRawLog() {
    m_core.StartLog(kLogRaw);
}

void CDlgOper::OnStartParsedLog() {
    m_core.StartLog(kLogParsed);
}

void CDlgOper::OnStopLog() {
    m_core.StopLog();
}

// ---- What the hub shows ------------------------------------------------------------------------

void CDlgOper::SetValues(int a, int b, int c, int d) {
    m_pInfo->SetValues(a, b, c, d);
    if (m_pTap) {
        m_pTap->SetValues(a, b, c, d);
    }
}

void CDlgOper::SetResultValues(int a, int b, int c, int d) {
    m_pInfo->SetResultValues(a, b, c, d);
    if (m_pTap) {
        m_pTap->SetResultValues(a, b, c, d);
    }
}

void CDlgOper::SetMaxMin(bool on, int max1, int min1, int max2, int min2) {
    m_pInfo->SetMaxMin(on, max1, min1, max2, min2);
}

void CDlgOper::SetAmplitude(int amplitude) {
    m_pInfo->SetAmplitude(amplitude);
}

void CDlgOper::SetMeasuring(bool measuring) {
    m_pInfo->SetMeasuring(measuring);
}

void CDlgOper::SetSensor(uint8_t type, const std::string& shortName) {
    m_pInfo->SetSensor(type, FromUtf8(shortName));
    if (m_pTap) {
        m_pTap->SetSensor(type, shortName);
    }
}

void CDlgOper::AddSample(int a, int b, int c) {
    m_pInfo->AddBeatSample(a);
    if (m_pView) {
        m_pView->AddSample(a, b, c);
    }
    if (m_pTap) {
        m_pTap->AddSample(a, b, c);
    }
}

void CDlgOper::FlagsChanged(const CMeasurementFlags& flags) {
    if (m_pTap) {
        m_pTap->FlagsChanged(flags);
    }
    emit MeasuringChanged();
}

void CDlgOper::SetSensorType(uint8_t type) {
    if (m_pView) {
        m_pView->SetSensorType(type);
        m_pView->Explain().ShowSensorPicture(type);
    }
}

void CDlgOper::SetControlStates(const CControlStates& s) {
    m_pStart->setEnabled(s.m_bStart);
    m_pStop->setEnabled(s.m_bStop);
    m_pMaxMin->setEnabled(s.m_bMaxMin);
    m_pReadNumber->setEnabled(s.m_bReadDeviceNumber);
    m_pReadDate->setEnabled(s.m_bReadDate);
    m_pGainDown->setEnabled(s.m_bGainDown);
    m_pGainUp->setEnabled(s.m_bGainUp);
    m_pSleep->setEnabled(s.m_bSleep);
    m_pWake->setEnabled(s.m_bWake);
    m_pCalibration->setEnabled(s.m_bCalibration);
    m_pMode->setEnabled(s.m_bMode);
    m_pScan->setEnabled(s.m_bScan);
    m_pDeviceList->setEnabled(s.m_bDeviceList);
    m_pSlowScan->setEnabled(s.m_bSlowScan);
    m_pOnlineOnly->setEnabled(s.m_bOnlineOnly);
}

void CDlgOper::SetGainText(int gain) {
    m_pGainValue->setText(QString::number(gain));
}

void CDlgOper::SetModeItems(const std::vector<std::string>& items) {
    const QSignalBlocker blocker(m_pMode);
    m_pMode->clear();
    for (const std::string& item : items) {
        m_pMode->addItem(FromUtf8(item));
    }
    m_pMode->setCurrentIndex(-1);
}

void CDlgOper::SetStatusText(const std::string& text) {
    m_pStatus->setText(FromUtf8(text));
}

void CDlgOper::SetInfoLine(const std::string& text) {
    m_pInfoLine->setText(FromUtf8(text));
}

void CDlgOper::SetProgressVisible(bool visible) {
    m_pProgress->setVisible(visible);
}

void CDlgOper::SetProgress(int position) {
    m_pProgress->setValue(position);
}

void CDlgOper::SetDeviceList(const std::vector<std::string>& entries, int selected) {
    const QSignalBlocker blocker(m_pDeviceList);
    m_pDeviceList->clear();
    for (const std::string& entry : entries) {
        m_pDeviceList->addItem(FromUtf8(entry));
    }
    m_pDeviceList->setCurrentIndex(selected);
}

void CDlgOper::LogStateChanged(bool open) {
    emit LogFileChanged(open);
}

void CDlgOper::ShowMessage(const std::string& text) {
    ShowMessageBox(this, FromUtf8(text));
}

}  // namespace somatrix
