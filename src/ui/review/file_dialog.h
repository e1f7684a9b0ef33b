#pragma once
// The review display's open and save dialogs go through here, so that tests can read the title,
// filter and folder and answer with a path instead of blocking on a modal dialog. Without a hook
// the dialog is a real QFileDialog.
#include <QString>
#include <functional>

class QWidget;

namespace somatrix {

struct CFileDialogRequest {
    bool m_bSave = false;
    QString m_strTitle;
    QString m_strFilter;  // name filters separated by ";;"
    QString m_strFolder;
    QString m_strDefaultSuffix;
};

// Returns the chosen path, or an empty text for Cancel.
using CFileDialogHook = std::function<QString(const CFileDialogRequest&)>;
void SetFileDialogHook(CFileDialogHook hook);

QString AskFilePath(QWidget* parent, const CFileDialogRequest& request);

}  // namespace somatrix
