#include "support/message_catcher.h"

#include "ui/shell/message_box.h"

namespace somatrix::test {

CMessageCatcher::CMessageCatcher(QMessageBox::StandardButton answer) {
    SetMessageBoxHook([this, answer](const QString& text, QMessageBox::StandardButtons) {
        m_texts << text;
        return answer;
    });
}

CMessageCatcher::~CMessageCatcher() {
    SetMessageBoxHook(nullptr);
}

}  // namespace somatrix::test
