#include "common/prompter.h"

#include <cstdio>

PromptAnswer StderrPrompter::ask(const Prompt& prompt) {
    m_prompts.push_back(prompt);
    std::fprintf(stderr, "%s: %s\n", prompt.title.c_str(), prompt.text.c_str());
    switch (prompt.buttons) {
    case PromptButtons::Ok:
        return PromptAnswer::Ok;
    case PromptButtons::OkCancel:
        return PromptAnswer::Cancel;
    case PromptButtons::YesNo:
    case PromptButtons::YesNoCancel:
        return PromptAnswer::No;
    }
    return PromptAnswer::Ok;
}
