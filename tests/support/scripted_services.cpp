#include "support/scripted_services.h"

#include "platform/panes/document_pane.h"

namespace keystride {

MessageAnswer ScriptedMessageBoxes::show(const std::string& text, const std::string& title,
                                         MessageButtons buttons, MessageIcon icon) {
    m_shown.push_back(Shown{text, title, buttons, icon});
    if (!m_answers.empty()) {
        MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

std::string ScriptedFileDialogs::next(bool save, const std::string& filter,
                                      const std::string& fileName) {
    m_asked.push_back(Asked{save, filter, fileName});
    if (m_paths.empty())
        return {};
    std::string path = m_paths.front();
    m_paths.pop_front();
    return path;
}

std::string ScriptedFileDialogs::getOpenFileName(const std::string& filter,
                                                 const std::string& fileName) {
    return next(false, filter, fileName);
}

std::string ScriptedFileDialogs::getSaveFileName(const std::string& filter,
                                                 const std::string& fileName) {
    return next(true, filter, fileName);
}

bool ScriptedPrinting::choosePrinter() {
    ++m_dialogs;
    return m_chooses;
}

bool ScriptedPrinting::printPane(DocumentPane& pane) {
    if (!m_succeeds)
        return false;
    m_printed.push_back(pane.selLength() > 0 ? pane.selText() : pane.text());
    return true;
}

bool ManualClock::tick() {
    if (!m_enabled || !m_handler)
        return false;
    m_handler();
    return true;
}

int ManualClock::tick(int count) {
    int ran = 0;
    for (int i = 0; i < count; ++i)
        ran += tick() ? 1 : 0;
    return ran;
}

void ScriptedProcessLauncher::queueOutcome(ProcessOutcome outcome,
                                           std::function<void(const Call&)> action) {
    m_outcomes.push_back(Planned{std::move(outcome), std::move(action)});
}

ProcessOutcome ScriptedProcessLauncher::run(const std::string& program,
                                            const std::vector<std::string>& args,
                                            std::chrono::milliseconds) {
    m_calls.push_back(Call{program, args, false});
    if (m_outcomes.empty())
        return ProcessOutcome{};
    Planned planned = std::move(m_outcomes.front());
    m_outcomes.pop_front();
    if (planned.action)
        planned.action(m_calls.back());
    return planned.outcome;
}

bool ScriptedProcessLauncher::startDetached(const std::string& program,
                                            const std::vector<std::string>& args) {
    m_calls.push_back(Call{program, args, true});
    return m_detachedStarts;
}

std::optional<std::string> ScriptedProcessLauncher::findProgram(const std::string& name) const {
    auto it = m_programs.find(name);
    if (it == m_programs.end())
        return std::nullopt;
    return it->second;
}

} // namespace keystride
