#include "ui/shell/message_box.h"

namespace somatrix {

namespace {

CMessageBoxHook& Hook() {
    static CMessageBoxHook hook;
    return hook;
}

}  // namespace

void SetMessageBoxHook(CMessageBoxHook hook) {
    Hook() = std::move(hook);
}

void ShowMessageBox(QWidget* parent, const QString& text) {
    AskMessageBox(parent, QStringLiteral("Somatrix"), text, QMessageBox::Warning,
                  QMessageBox::Ok);
}

QMessageBox::StandardButton AskMessageBox(QWidget* parent, const QString& caption,
                                          const QString& text, QMessageBox::Icon icon,
                                          QMessageBox::StandardButtons buttons) {
    if (Hook()) {
        return Hook()(text, buttons);
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace somatrix
