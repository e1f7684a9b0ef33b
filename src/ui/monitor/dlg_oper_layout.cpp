// The operation panel's controls, placed from the dialog's own dialog-unit rectangles.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "ui/monitor/dialog_units.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/info_scree_wnd.h"

namespace somatrix {

namespace {

// A drop-down list is placed with the height of its dropped list; closed it is one line high.
constexpr int kComboLineDlu = 12;
constexpr int kListItemDlu = 12;

int DroppedItems(int dropHeightDlu) {
    return std::max(1, (dropHeightDlu - kComboLineDlu) / kListItemDlu);
}

const char* const kCalibrationItems[] = {"不调[0]", "上调[1]", "上调[2]", "上调[3]",
                                         "下调[1]", "下调[2]", "下调[3]"};
const char* const kInitialModeItems[] = {"周期输出", "心率输出"};

// Status line and device information line: blue text, in the blue of the current look (the
// palette's link colour: pure blue on light faces, a light blue on dark ones).
void MakeBlue(QLabel* label) {
    label->setForegroundRole(QPalette::Link);
}

}  // namespace

QPushButton* CDlgOper::MakeButton(int id, const char* text, const QRect& rc) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setGeometry(rc);
    button->setObjectName(QStringLiteral("control%1").arg(id));
    return button;
}

QLabel* CDlgOper::MakeLabel(const char* text, const QRect& rc) {
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setGeometry(rc);
    return label;
}

void CDlgOper::CreateUpperGroup() {
    m_pUpperGroup = new QGroupBox(QStringLiteral("采集显示与控制"), this);
    m_pUpperGroup->setGeometry(DluRect(4, 4, 143, 253));

    m_pInfo = new CInfoScreeWnd(this);
    m_pInfo->setGeometry(DluRect(7, 15, 136, 108));
    m_pInfo->setObjectName(QStringLiteral("control%1").arg(kIdInfoPanel));

    m_pInfoLine = MakeLabel("", DluRect(7, 125, 136, 12));
    m_pInfoLine->setObjectName(QStringLiteral("control%1").arg(kIdInfoLine));
    MakeBlue(m_pInfoLine);

    m_pStart = MakeButton(kIdStart, "启动测量", DluRect(8, 140, 40, 20));
    m_pStop = MakeButton(kIdStop, "停止测量", DluRect(54, 140, 40, 20));
    m_pMaxMin = MakeButton(kIdMaxMin, "最大/小值", DluRect(100, 140, 42, 20));
    m_pMaxMin->setCheckable(true);
    m_pReadNumber = MakeButton(kIdReadNumber, "读设备号", DluRect(8, 163, 40, 20));
    m_pReadDate = MakeButton(kIdReadDate, "读生产日期", DluRect(51, 163, 46, 20));

    QLabel* gainLabel = MakeLabel("调整幅度：", DluRect(9, 192, 40, 8));
    m_pGainDown = MakeButton(kIdGainDown, "-", DluRect(50, 186, 15, 20));
    m_pGainValue = new QLineEdit(this);
    m_pGainValue->setGeometry(DluRect(65, 188, 16, 16));
    m_pGainValue->setReadOnly(true);
    m_pGainValue->setAlignment(Qt::AlignCenter);
    m_pGainValue->setObjectName(QStringLiteral("control%1").arg(kIdGainValue));
    m_pGainValue->setAccessibleName(QStringLiteral("调整幅度"));
    gainLabel->setBuddy(m_pGainValue);
    m_pGainUp = MakeButton(kIdGainUp, "+", DluRect(81, 186, 16, 20));
    m_pSleep = MakeButton(kIdSleep, "休眠", DluRect(100, 186, 40, 20));
    m_pWake = MakeButton(kIdWake, "唤醒", DluRect(100, 209, 40, 20));

    QLabel* calibrationLabel = MakeLabel("体温较准：", DluRect(9, 215, 41, 8));
    m_pCalibration = new QComboBox(this);
    m_pCalibration->setGeometry(DluRect(51, 213, 46, kComboLineDlu));
    m_pCalibration->setMaxVisibleItems(DroppedItems(82));
    for (const char* item : kCalibrationItems) {
        m_pCalibration->addItem(QString::fromUtf8(item));
    }
    m_pCalibration->setObjectName(QStringLiteral("control%1").arg(kIdCalibration));
    m_pCalibration->setAccessibleName(QStringLiteral("体温较准"));
    // Screen readers on Linux name a drop-down list by its label and read its entry as value.
    calibrationLabel->setBuddy(m_pCalibration);

    QLabel* modeLabel = MakeLabel("模式设置：", DluRect(9, 238, 41, 8));
    m_pMode = new QComboBox(this);
    m_pMode->setGeometry(DluRect(51, 236, 87, kComboLineDlu));
    m_pMode->setMaxVisibleItems(DroppedItems(54));
    for (const char* item : kInitialModeItems) {
        m_pMode->addItem(QString::fromUtf8(item));
    }
    m_pMode->setObjectName(QStringLiteral("control%1").arg(kIdMode));
    m_pMode->setAccessibleName(QStringLiteral("模式设置"));
    modeLabel->setBuddy(m_pMode);
}

void CDlgOper::CreateLowerGroup() {
    m_pLowerGroup = new QGroupBox(QStringLiteral("所有设备"), this);
    m_pLowerGroup->setGeometry(DluRect(4, 263, 143, 78));

    m_pScan = MakeButton(kIdScan, "扫描设备", DluRect(10, 276, 50, 22));
    m_pSlowScan = new QCheckBox(QStringLiteral("慢扫"), this);
    m_pSlowScan->setGeometry(DluRect(77, 275, 32, 10));
    m_pSlowScan->setObjectName(QStringLiteral("control%1").arg(kIdSlowScan));
    m_pOnlineOnly = new QCheckBox(QStringLiteral("只显示在线"), this);
    m_pOnlineOnly->setGeometry(DluRect(77, 288, 56, 10));
    m_pOnlineOnly->setObjectName(QStringLiteral("control%1").arg(kIdOnlineOnly));

    m_pDeviceList = new QComboBox(this);
    m_pDeviceList->setGeometry(DluRect(8, 302, 136, kComboLineDlu));
    m_pDeviceList->setMaxVisibleItems(DroppedItems(181));
    m_pDeviceList->setObjectName(QStringLiteral("control%1").arg(kIdDeviceList));
    m_pDeviceList->setAccessibleName(QStringLiteral("所有设备"));

    m_pProgress = new QProgressBar(this);
    m_pProgress->setGeometry(DluRect(7, 315, 136, 8));
    m_pProgress->setTextVisible(false);
    m_pProgress->setObjectName(QStringLiteral("control%1").arg(kIdProgress));
    m_pProgress->setAccessibleName(QStringLiteral("扫描进度"));

    m_pStatus = MakeLabel("连接端口", DluRect(7, 323, 136, 13));
    m_pStatus->setObjectName(QStringLiteral("control%1").arg(kIdStatus));
    MakeBlue(m_pStatus);
}

QWidget* CDlgOper::Control(int id) const {
    return findChild<QWidget*>(QStringLiteral("control%1").arg(id), Qt::FindDirectChildrenOnly);
}

}  // namespace somatrix
