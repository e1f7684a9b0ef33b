#pragma once
// Every message box of the program goes through here, so that tests can read the texts instead
// of blocking on a modal box. Without a hook the box is a real QMessageBox titled "Somatrix".
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace somatrix {

// What a test installs: it receives the text (and the buttons offered) and returns the button
// "pressed". Null restores the real boxes.
using CMessageBoxHook = std::function<QMessageBox::StandardButton(
    const QString& text, QMessageBox::StandardButtons buttons)>;
void SetMessageBoxHook(CMessageBoxHook hook);

// An information box with an OK button.
void ShowMessageBox(QWidget* parent, const QString& text);
// A question with the given buttons, icon and caption; returns the button pressed.
QMessageBox::StandardButton AskMessageBox(QWidget* parent, const QString& caption,
                                          const QString& text, QMessageBox::Icon icon,
                                          QMessageBox::StandardButtons buttons);

}  // namespace somatrix
