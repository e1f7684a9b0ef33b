#pragma once
// Catches the program's message boxes while it lives: every text shown is kept, and the box is
// answered with `answer` instead of blocking the test.
#include <QMessageBox>
#include <QStringList>

namespace somatrix::test {

class CMessageCatcher {
public:
    explicit CMessageCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok);
    ~CMessageCatcher();
    CMessageCatcher(const CMessageCatcher&) = delete;
    CMessageCatcher& operator=(const CMessageCatcher&) = delete;

    const QStringList& Texts() const { return m_texts; }
    void Clear() { m_texts.clear(); }

private:
    QStringList m_texts;
};

}  // namespace somatrix::test
