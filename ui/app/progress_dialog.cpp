#include "app/progress_dialog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

CProgressDlg::CProgressDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Progress");
    setModal(true);
    m_title = new QLabel("Loading Maps...", this);
    m_title->setAlignment(Qt::AlignCenter);
    m_count = new QLabel("3/500", this);
    m_count->setAlignment(Qt::AlignCenter);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_bar->setStyleSheet("QProgressBar::chunk { background-color: rgb(0, 255, 0); }");
    m_cancel = new QPushButton("Cancel", this);
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_count);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignCenter);
    setFixedSize(264, 124);
}

JobResult CProgressDlg::runJob(JobRoutine routine, Prompter& prompter) {
    m_channel.reset();
    m_channel.setFinishHandler([this](JobResult result) {
        QMetaObject::invokeMethod(
            this, [this, result] { done(static_cast<int>(result)); }, Qt::QueuedConnection);
    });
    Worker worker;
    worker.start(m_channel, *this, prompter, std::move(routine));
    int code = exec();
    if (code != static_cast<int>(JobResult::Success) && code != static_cast<int>(JobResult::NothingDone))
        m_channel.requestCancel();
    // The job may still be blocked on a question to this thread; keep serving events until it ends.
    while (!m_channel.result()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    worker.join();
    m_channel.setFinishHandler(nullptr);
    // Events the worker queued for this run must not end the next one.
    QCoreApplication::sendPostedEvents(this);
    if (code == static_cast<int>(JobResult::Success) || code == static_cast<int>(JobResult::NothingDone))
        return static_cast<JobResult>(code);
    return JobResult::Failure;
}

void CProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_channel.markReady();
}

void CProgressDlg::reject() {
    // Cancel: end at once with 2; the starter stops the worker.
    m_channel.requestCancel();
    done(static_cast<int>(JobResult::Failure));
}

void CProgressDlg::setTitle(const std::string& title) {
    QString text = QString::fromStdString(title);
    QMetaObject::invokeMethod(this, [this, text] { m_title->setText(text); }, Qt::QueuedConnection);
}

void CProgressDlg::setCount(const std::string& count) {
    QString text = QString::fromStdString(count);
    QMetaObject::invokeMethod(this, [this, text] { m_count->setText(text); }, Qt::QueuedConnection);
}

void CProgressDlg::setRange(int low, int high) {
    QMetaObject::invokeMethod(
        this, [this, low, high] { m_bar->setRange(low, high); }, Qt::QueuedConnection);
}

void CProgressDlg::setPosition(int position) {
    QMetaObject::invokeMethod(
        this, [this, position] { m_bar->setValue(position); }, Qt::QueuedConnection);
}

QString CProgressDlg::titleText() const { return m_title->text(); }
QString CProgressDlg::countText() const { return m_count->text(); }
