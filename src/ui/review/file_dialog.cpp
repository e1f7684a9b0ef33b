#include "ui/review/file_dialog.h"

#include <QFileDialog>

namespace somatrix {

namespace {

CFileDialogHook& Hook() {
    static CFileDialogHook hook;
    return hook;
}

}  // namespace

void SetFileDialogHook(CFileDialogHook hook) {
    Hook() = std::move(hook);
}

QString AskFilePath(QWidget* parent, const CFileDialogRequest& request) {
    if (Hook()) {
        return Hook()(request);
    }
    QFileDialog dialog(parent, request.m_strTitle, request.m_strFolder);
    dialog.setNameFilters(request.m_strFilter.split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(request.m_strDefaultSuffix);
    if (request.m_bSave) {
        // Asks before replacing an existing file.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

}  // namespace somatrix
