#pragma once
// Shows the core's prompts as message boxes. Safe to call from a worker thread: the box is
// shown on the user-interface thread while the worker waits for the answer.

#include "common/prompter.h"

#include <QPointer>
#include <QWidget>

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    PromptAnswer ask(const Prompt& prompt) override;
    void setParent(QWidget* parent) { m_parent = parent; }

private:
    PromptAnswer askOnGuiThread(const Prompt& prompt);
    QPointer<QWidget> m_parent;
};
