#pragma once
// Every message box goes through a Prompter: the GUI shows a QMessageBox, the CLI prints to
// stderr, tests script the answers. Core code never opens a window itself.

#include <deque>
#include <string>
#include <vector>

enum class PromptIcon { None, Information, Exclamation, Error, Question };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct Prompt {
    std::string title;
    std::string text;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer ask(const Prompt& prompt) = 0;

    // A plain message with an OK button.
    void tell(const std::string& title, const std::string& text,
              PromptIcon icon = PromptIcon::None) {
        ask({title, text, icon, PromptButtons::Ok});
    }
    bool askYesNo(const std::string& title, const std::string& text,
                  PromptIcon icon = PromptIcon::Question) {
        return ask({title, text, icon, PromptButtons::YesNo}) == PromptAnswer::Yes;
    }
};

// Remembers every prompt and answers from a script; when the script is empty it answers
// with the first button (Ok or Yes).
class RecordingPrompter : public Prompter {
public:
    PromptAnswer ask(const Prompt& prompt) override {
        m_prompts.push_back(prompt);
        if (!m_script.empty()) {
            PromptAnswer answer = m_script.front();
            m_script.pop_front();
            return answer;
        }
        return prompt.buttons == PromptButtons::Ok || prompt.buttons == PromptButtons::OkCancel
                   ? PromptAnswer::Ok
                   : PromptAnswer::Yes;
    }

    void script(PromptAnswer answer) { m_script.push_back(answer); }
    const std::vector<Prompt>& prompts() const { return m_prompts; }
    bool empty() const { return m_prompts.empty(); }
    void clear() { m_prompts.clear(); }

private:
    std::vector<Prompt> m_prompts;
    std::deque<PromptAnswer> m_script;
};

// Prints "title: text" to stderr and answers every question with No (or Cancel/Ok when there
// is no No): batch work never takes a risky choice on its own.
class StderrPrompter : public Prompter {
public:
    PromptAnswer ask(const Prompt& prompt) override;
    const std::vector<Prompt>& prompts() const { return m_prompts; }

private:
    std::vector<Prompt> m_prompts;
};
