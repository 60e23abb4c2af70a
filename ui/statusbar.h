#pragma once
// The window's foot: the status text, and while an extraction or an export
// runs, its progress bar and Cancel.
#include <QStatusBar>

class QProgressBar;
class QPushButton;

class CWorkStatus : public QStatusBar {
    Q_OBJECT
public:
    // status: the label the search writes its counts to.
    CWorkStatus(QWidget* status, QWidget* parent);

    // A run of total steps starts at 0.
    void Start(int total);
    void SetDone(int done);
    void Finish();
    // The progress bar and Cancel show while work runs.
    void SetBusy(bool busy);

signals:
    void cancelRequested();

private:
    QProgressBar* m_progress;
    QPushButton* m_stop;
};
