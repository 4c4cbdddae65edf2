#pragma once
// The small modal "Progress" dialog every load and save job runs under: title line, count line,
// a green bar and Cancel. The job runs on a worker thread and writes to the dialog through
// ProgressSink; the dialog ends with the job's result, or with 2 when Cancel is pressed.

#include "app/job.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CProgressDlg : public QDialog, public ProgressSink {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* parent = nullptr);

    // Runs the routine on a worker thread while the dialog is shown modally; returns the
    // dialog's result. After Cancel the worker is told to stop and is joined before returning.
    JobResult runJob(JobRoutine routine, Prompter& prompter);

    // ProgressSink: callable from the worker thread.
    void setTitle(const std::string& title) override;
    void setCount(const std::string& count) override;
    void setRange(int low, int high) override;
    void setPosition(int position) override;

    QString titleText() const;
    QString countText() const;
    QProgressBar* bar() const { return m_bar; }
    QPushButton* cancelButton() const { return m_cancel; }

    // How many jobs found the dialog ready; tests use it to see the handshake.
    JobChannel& channel() { return m_channel; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    QLabel* m_title;
    QLabel* m_count;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    JobChannel m_channel;
};
