#pragma once
// The review display: owns the review recording and lays out the wave window, the overview,
// the two rulers and the review bar; carries the Open and Save commands.
#include <QString>
#include <QWidget>

namespace somatrix {

class CWaveDispWnd : public QWidget {
    Q_OBJECT
public:
    explicit CWaveDispWnd(QWidget* parent = nullptr);
    ~CWaveDispWnd() override;

    // File commands of the view: the open and save dialogs, then load or save.
    void OpenWaveFile();
    void SaveWaveFile();
    // Replaces the review recording by the file's contents (also used for a file named on the
    // command line).
    void LoadWaveFile(const QString& path);
};

}  // namespace somatrix
