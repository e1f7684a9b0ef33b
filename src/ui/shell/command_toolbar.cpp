#include "ui/shell/command_toolbar.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QSettings>
#include <QStringList>
#include <QToolButton>

#include "ui/shell/command_ids.h"
#include "ui/shell/shell_texts.h"

namespace somatrix {

namespace {

constexpr const char* kArrangementKey = "Toolbar/Buttons";
constexpr int kButtonCount = ids::kToolStopRecord - ids::kToolSwitch + 1;

bool IsToolId(int id) {
    return id >= ids::kToolSwitch && id <= ids::kToolStopRecord;
}

}  // namespace

CToolbarArrangement DefaultToolbarArrangement() {
    CToolbarArrangement arrangement;
    for (int id = ids::kToolSwitch; id <= ids::kToolStopRecord; ++id) {
        arrangement.append({id, true});
    }
    return arrangement;
}

CToolbarArrangement LoadToolbarArrangement() {
    // Stored as "19003,-19004,…": the order of the ids, hidden ones negative.
    const QStringList stored = QSettings().value(QLatin1String(kArrangementKey)).toStringList();
    CToolbarArrangement arrangement;
    QList<int> seen;
    for (const QString& entry : stored) {
        bool ok = false;
        const int value = entry.trimmed().toInt(&ok);
        const int id = value < 0 ? -value : value;
        if (!ok || !IsToolId(id) || seen.contains(id)) {
            continue;
        }
        seen.append(id);
        arrangement.append({id, value > 0});
    }
    for (int id = ids::kToolSwitch; id <= ids::kToolStopRecord; ++id) {
        if (!seen.contains(id)) {
            arrangement.append({id, true});
        }
    }
    return arrangement;
}

void StoreToolbarArrangement(const CToolbarArrangement& arrangement) {
    QStringList stored;
    for (const CToolButtonSlot& slot : arrangement) {
        stored.append(QString::number(slot.m_bVisible ? slot.m_nId : -slot.m_nId));
    }
    QSettings settings;
    settings.setValue(QLatin1String(kArrangementKey), stored);
    settings.sync();
}

CCommandToolBar::CCommandToolBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("CommandToolBar"));
    setProperty("toolbarId", kToolbarId);
    setWindowTitle(QString::fromUtf8(texts::kCommandToolbar).remove(QStringLiteral("(&S)")));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (int i = 0; i < kButtonCount; ++i) {
        const int id = ids::kToolSwitch + i;
        auto* action = new QAction(QString::fromUtf8(texts::kToolCaptions[i]), this);
        action->setData(id);
        action->setObjectName(QStringLiteral("tool%1").arg(id));
        action->setIcon(QIcon(QStringLiteral(":/icons/toolbar/%1.png").arg(id)));
        action->setToolTip(action->text());
        const bool checkable = id == ids::kToolStartRecord || id == ids::kToolPauseRecord;
        action->setCheckable(checkable);
        // A checkable button is pressed by a click or by a screen reader's toggle; either flips
        // its check first. It runs the command once, then shows the frame's state again.
        connect(action, checkable ? &QAction::toggled : &QAction::triggered, this, [this, id] {
            emit CommandTriggered(id);
            SetRecording(m_bRecording, m_bPaused);
        });
        m_actions.append(action);
    }
    SetRecording(false);
    m_arrangement = LoadToolbarArrangement();
    Rebuild();
}

QAction* CCommandToolBar::Action(int id) const {
    return IsToolId(id) ? m_actions[id - ids::kToolSwitch] : nullptr;
}

void CCommandToolBar::SetArrangement(const CToolbarArrangement& arrangement) {
    m_arrangement = arrangement;
    StoreToolbarArrangement(m_arrangement);
    Rebuild();
}

void CCommandToolBar::SetRecording(bool recording, bool paused) {
    // A checkable action's own click flips its check; the state shown is always the one set here.
    m_bRecording = recording;
    m_bPaused = paused;
    QSignalBlocker blockStart(Action(ids::kToolStartRecord));
    QSignalBlocker blockPause(Action(ids::kToolPauseRecord));
    Action(ids::kToolStartRecord)->setChecked(recording);
    Action(ids::kToolPauseRecord)->setChecked(paused);
}

void CCommandToolBar::Rebuild() {
    clear();
    qDeleteAll(m_separators);
    m_separators.clear();
    for (const CToolButtonSlot& slot : m_arrangement) {
        if (!slot.m_bVisible) {
            continue;
        }
        QAction* action = Action(slot.m_nId);
        addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action))) {
            button->setFixedSize(kButtonWidth, kButtonHeight);
            button->setAccessibleName(action->text());
        }
        m_separators.append(addSeparator());
    }
    FitCaptions();
}

void CCommandToolBar::FitCaptions() {
    // Four caption characters must fit the 50-pixel button in every look and font, as they do
    // in the 9-point system font of the original toolbar: the caption font shrinks until every
    // button's own size hint fits (the hint holds the style's margins).
    QFont caption = font();
    for (int pixels = 11; pixels >= 8; --pixels) {
        caption.setPixelSize(pixels);
        setFont(caption);
        bool fits = true;
        for (QAction* action : m_actions) {
            if (QWidget* button = widgetForAction(action)) {
                fits = fits && button->sizeHint().width() <= kButtonWidth;
            }
        }
        if (fits) {
            break;
        }
    }
}

void CCommandToolBar::changeEvent(QEvent* event) {
    QToolBar::changeEvent(event);
    // Another look brings other margins.
    if (event->type() == QEvent::StyleChange && !m_bFitting) {
        m_bFitting = true;
        FitCaptions();
        m_bFitting = false;
    }
}

}  // namespace somatrix
