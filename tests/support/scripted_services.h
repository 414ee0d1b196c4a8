// Desktop services that answer from a script, for tests: every question is recorded, every answer
// comes from a queue the test fills beforehand, and the clock ticks only when the test says so.
#pragma once

#include "platform/desktop/ui_services.h"
#include "platform/panes/document_pane.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace keystride {

// The next of `queue`, or `otherwise` when it is empty.
template <typename T> T takeFront(std::deque<T>& queue, T otherwise) {
    if (queue.empty())
        return otherwise;
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        std::string text;
        std::string title;
        MessageButtons buttons = MessageButtons::Ok;
    };

    // Answers are used in order; with the queue empty an Ok box answers Ok, a Yes/No box No and a
    // Yes/No/Cancel box Cancel, the answers that change nothing.
    MessageAnswer show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon) override {
        m_shown.push_back(Shown{text, title, buttons});
        const MessageAnswer nothing = buttons == MessageButtons::Ok      ? MessageAnswer::Ok
                                      : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                                         : MessageAnswer::Cancel;
        return takeFront(m_answers, nothing);
    }

    void queueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    const std::vector<Shown>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    std::deque<MessageAnswer> m_answers;
    std::vector<Shown> m_shown;
};

class ScriptedFileDialogs : public FileDialogs {
public:
    struct Asked {
        bool save = false;
        std::string fileName;
    };

    std::string getOpenFileName(const std::string& /*filter*/,
                                const std::string& fileName) override {
        m_asked.push_back(Asked{false, fileName});
        return takeFront(m_paths, std::string());
    }
    std::string getSaveFileName(const std::string& /*filter*/,
                                const std::string& fileName) override {
        m_asked.push_back(Asked{true, fileName});
        return takeFront(m_paths, std::string());
    }

    // Paths are used in order; an empty queue (or "") means the user cancelled.
    void queuePath(const std::string& path) { m_paths.push_back(path); }
    const std::vector<Asked>& asked() const { return m_asked; }

private:
    std::deque<std::string> m_paths;
    std::vector<Asked> m_asked;
};

// Printing that records the printed text instead of using a printer.
class ScriptedPrinting : public Printing {
public:
    // Whether the printer dialog is confirmed (by default it is).
    bool choosePrinter() override { return m_chooses; }
    bool printPane(DocumentPane& pane) override {
        m_printed.push_back(pane.selLength() > 0 ? pane.selText() : pane.text());
        return true;
    }

    void setChoosesPrinter(bool yes) { m_chooses = yes; }
    // The plain text of each print job: the selection when there is one, else the whole text.
    const std::vector<std::u16string>& printed() const { return m_printed; }

private:
    bool m_chooses = true;
    std::vector<std::u16string> m_printed;
};

// A clock that ticks when the test calls tick(); a disabled clock does not tick.
class ManualClock : public Clock {
public:
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool enabled() const override { return m_enabled; }
    void setTickHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

    // `count` seconds pass: the tick handler runs once a second while the clock is enabled.
    void tick(int count = 1) {
        for (; count > 0 && m_enabled && m_handler; --count)
            m_handler();
    }

private:
    bool m_enabled = false;
    std::function<void()> m_handler;
};

class ScriptedProcessLauncher : public ProcessLauncher {
public:
    struct Call {
        std::string program;
        std::vector<std::string> args;
        bool detached = false;
    };

    // Outcomes of run() in order; with the queue empty a run does not start. An action, when
    // set, runs before the outcome is returned (a fake converter writes its output file there).
    void queueOutcome(ProcessOutcome outcome, std::function<void(const Call&)> action = {}) {
        m_outcomes.push_back(Planned{std::move(outcome), std::move(action)});
    }
    ProcessOutcome run(const std::string& program, const std::vector<std::string>& args,
                       std::chrono::milliseconds) override {
        m_calls.push_back(Call{program, args, false});
        const Planned planned = takeFront(m_outcomes, Planned{});
        if (planned.action)
            planned.action(m_calls.back());
        return planned.outcome;
    }
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
        m_calls.push_back(Call{program, args, true});
        return m_detachedStarts;
    }
    void setDetachedStarts(bool yes) { m_detachedStarts = yes; }

    std::optional<std::string> findProgram(const std::string& name) const override {
        const auto found = m_programs.find(name);
        return found == m_programs.end() ? std::nullopt : std::optional(found->second);
    }
    void addProgram(const std::string& name, const std::string& path) { m_programs[name] = path; }
    const std::vector<Call>& calls() const { return m_calls; }

private:
    struct Planned {
        ProcessOutcome outcome;
        std::function<void(const Call&)> action;
    };
    std::deque<Planned> m_outcomes;
    std::vector<Call> m_calls;
    std::map<std::string, std::string> m_programs;
    bool m_detachedStarts = true;
};

} // namespace keystride
