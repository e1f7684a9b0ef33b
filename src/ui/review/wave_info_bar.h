#pragma once
// The review bar (dialog 312): the times of the view and of the selection and the two display
// scales, as read-only texts. It has no logic of its own; the review display fills it.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace somatrix {

class CWaveInfoBar : public QDialog {
    Q_OBJECT
public:
    explicit CWaveInfoBar(QWidget* parent);

    void SetViewTimes(const QString& start, const QString& end);
    void SetSelectionTimes(const QString& low, const QString& high);
    void SetScales(const QString& x, const QString& y);
    // Every box empty, as before the first recording.
    void Clear();
    // The signals of the recording (one shown) and its annotations ("onset text" items).
    void SetSignals(const QStringList& labels, int current);
    void SetMarks(const QStringList& items, int current);
    QComboBox* SignalList() const { return m_pSignals; }
    QComboBox* MarkList() const { return m_pMarks; }
    QPushButton* AddMarkButton() const { return m_pAddMark; }
    QPushButton* RenameMarkButton() const { return m_pRenameMark; }
    QPushButton* RemoveMarkButton() const { return m_pRemoveMark; }
    QPushButton* ExportCsvButton() const { return m_pExportCsv; }

    // The box with a resource id of the template (1027 to 1033).
    QLineEdit* Box(int id) const;

signals:
    void SignalChosen(int index);
    void MarkChosen(int index);
    void AddMarkClicked();
    void RenameMarkClicked(int index);
    void RemoveMarkClicked(int index);
    void ExportCsvClicked();

protected:
    // A child dialog stays where the review display puts it; QDialog would centre it on every
    // show.
    void showEvent(QShowEvent* event) override { QWidget::showEvent(event); }

public slots:
    // Enter and Escape do not close the bar.
    void accept() override {}
    void reject() override {}

private:
    QLineEdit* m_pViewStart;
    QLineEdit* m_pViewEnd;
    QLineEdit* m_pSelStart;
    QLineEdit* m_pSelEnd;
    QLineEdit* m_pXScale;
    QLineEdit* m_pYScale;
    QComboBox* m_pSignals;
    QComboBox* m_pMarks;
    QPushButton* m_pAddMark;
    QPushButton* m_pRenameMark;
    QPushButton* m_pRemoveMark;
    QPushButton* m_pExportCsv;
};

}  // namespace somatrix
