#include "ui/shell/status_panes.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <algorithm>

#include "ui/shell/shell_texts.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace somatrix {

namespace {

constexpr int kMessageRoom = 200;

// A pane that asks for its width but gives way when the frame is narrower, as the frame's panes
// do; a fixed width would hold the whole window at over 1000 pixels.
class CPaneLabel : public QLabel {
public:
    CPaneLabel(const QString& text, int width, QWidget* parent)
        : QLabel(text, parent), m_nWidth(width) {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override {
        return {m_nWidth > 0 ? std::min(m_nWidth, m_nWidthCap) : QLabel::sizeHint().width() + 8,
                QLabel::sizeHint().height()};
    }
    // The width its text needs (plain or rich).
    int TextWidth() const { return QLabel::sizeHint().width() + 8; }
    // The bar narrows the wide panes so that the message pane keeps its room.
    void SetWidthCap(int cap) {
        if (cap != m_nWidthCap) {
            m_nWidthCap = cap;
            updateGeometry();
        }
    }
    QSize minimumSizeHint() const override {
        return {m_nWidth > 0 ? 40 : sizeHint().width(), QLabel::minimumSizeHint().height()};
    }

private:
    int m_nWidth;
    int m_nWidthCap = 1 << 20;
};

#ifndef _WIN32
// The keyboard LEDs the kernel exposes ("input3::capslock"): on when any keyboard's is on.
bool ReadLed(const char* suffix) {
    const QDir leds(QStringLiteral("/sys/class/leds"));
    const QStringList names = leds.entryList({QStringLiteral("*::") + QLatin1String(suffix)},
                                             QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& name : names) {
        QFile brightness(leds.filePath(name + QStringLiteral("/brightness")));
        if (brightness.open(QIODevice::ReadOnly) && brightness.read(8).trimmed().toInt() > 0) {
            return true;
        }
    }
    return false;
}
#endif

}  // namespace

CLockKeys ReadLockKeys() {
    CLockKeys locks;
#ifdef _WIN32
    locks.m_bCaps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    locks.m_bNum = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    locks.m_bScroll = (GetKeyState(VK_SCROLL) & 1) != 0;
#else
    locks.m_bCaps = ReadLed("capslock");
    locks.m_bNum = ReadLed("numlock");
    locks.m_bScroll = ReadLed("scrolllock");
#endif
    return locks;
}

CStatusPanes::CStatusPanes(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    setProperty("statusBarId", kStatusBarId);
    m_pPane1 = new CPaneLabel(QString::fromUtf8(texts::kPane1), kPaneWidth, this);
    m_pPane2 = new CPaneLabel(QString::fromUtf8(texts::kPane2), kPaneWidth, this);
    m_pPane1->setProperty("paneId", 101);
    m_pPane2->setProperty("paneId", 102);
    m_pCaps = new CPaneLabel(QString::fromUtf8(texts::kCapsLock), 0, this);
    m_pNum = new CPaneLabel(QString::fromUtf8(texts::kNumLock), 0, this);
    m_pScroll = new CPaneLabel(QString::fromUtf8(texts::kScrollLock), 0, this);
    for (QLabel* pane : {m_pPane1, m_pPane2, m_pCaps, m_pNum, m_pScroll}) {
        pane->setAccessibleName(pane->text());
        addPermanentWidget(pane);
    }
    // The message pane falls back to the idle text whenever a status tip or message ends.
    connect(this, &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty()) {
            showMessage(QString::fromUtf8(texts::kReady));
        }
    });
    showMessage(QString::fromUtf8(texts::kReady));

    // Lock keys change outside the program too (another window, another keyboard), so their
    // state is read a few times a second rather than from this window's key events.
    m_pLockTimer = new QTimer(this);
    m_pLockTimer->setInterval(300);
    connect(m_pLockTimer, &QTimer::timeout, this, [this] { ShowLocks(ReadLockKeys()); });
    m_pLockTimer->start();
    ShowLocks(ReadLockKeys());
}

void CStatusPanes::resizeEvent(QResizeEvent* event) {
    FitPanes();
    QStatusBar::resizeEvent(event);
}

bool CStatusPanes::event(QEvent* event) {
    // Another permanent pane shown, hidden or grown (the recording's) asks for a new layout.
    if (event->type() == QEvent::LayoutRequest) {
        FitPanes();
    }
    return QStatusBar::event(event);
}

void CStatusPanes::FitPanes() {
    // The message pane ("就绪", status tips, messages) keeps at least kMessageRoom pixels;
    // panes 101 and 102 share what it and the other panes leave, up to 500 pixels each.
    int others = 0;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != m_pPane1 && child != m_pPane2 && !child->isHidden()) {
            others += child->sizeHint().width() + 4;
        }
    }
    const int room = width() - kMessageRoom - others;
    const int half = std::max(40, room / 2);
    int caps[2] = {half, half};
    // A pane whose text is shorter than its half lends the rest to one whose text is longer,
    // so that a long reading (the link's counters) is not cut while a short text has room.
    const int needs[2] = {static_cast<CPaneLabel*>(m_pPane1)->TextWidth(),
                          static_cast<CPaneLabel*>(m_pPane2)->TextWidth()};
    for (int i = 0; i < 2; ++i) {
        if (needs[i] < half && needs[1 - i] > half) {
            caps[i] = needs[i];
            caps[1 - i] = std::max(40, room - needs[i]);
        }
    }
    static_cast<CPaneLabel*>(m_pPane1)->SetWidthCap(caps[0]);
    static_cast<CPaneLabel*>(m_pPane2)->SetWidthCap(caps[1]);
}

QLabel* CStatusPanes::Pane(int id) const {
    return id == 101 ? m_pPane1 : id == 102 ? m_pPane2 : nullptr;
}

void CStatusPanes::ShowLocks(const CLockKeys& locks) {
    m_pCaps->setEnabled(locks.m_bCaps);
    m_pNum->setEnabled(locks.m_bNum);
    m_pScroll->setEnabled(locks.m_bScroll);
}

}  // namespace somatrix
