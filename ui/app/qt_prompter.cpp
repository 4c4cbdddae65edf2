#include "app/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

PromptAnswer QtPrompter::ask(const Prompt& prompt) {
    if (QThread::currentThread() == qApp->thread())
        return askOnGuiThread(prompt);
    PromptAnswer answer = PromptAnswer::Cancel;
    QMetaObject::invokeMethod(
        qApp, [&] { answer = askOnGuiThread(prompt); }, Qt::BlockingQueuedConnection);
    return answer;
}

PromptAnswer QtPrompter::askOnGuiThread(const Prompt& prompt) {
    QMessageBox box(m_parent);
    box.setWindowTitle(QString::fromStdString(prompt.title));
    box.setText(QString::fromStdString(prompt.text));
    switch (prompt.icon) {
    case PromptIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case PromptIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case PromptIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case PromptIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case PromptIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (prompt.buttons) {
    case PromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case PromptButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case PromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case PromptButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        return PromptAnswer::Cancel;
    }
}
