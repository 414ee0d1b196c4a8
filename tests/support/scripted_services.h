// Desktop services that answer from a script, for tests: every question is recorded, every answer
// comes from a queue the test fills beforehand, and the clock ticks only when the test says so.
#pragma once

#include "platform/desktop/ui_services.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace keystride {

class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        std::string text;
        std::string title;
        MessageButtons buttons = MessageButtons::Ok;
        MessageIcon icon = MessageIcon::None;
    };

    MessageAnswer show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon) override;

    // Answers are used in order; with the queue empty an Ok box answers Ok, a Yes/No box No and a
    // Yes/No/Cancel box Cancel, the answers that change nothing.
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
        std::string filter;
        std::string fileName;
    };

    std::string getOpenFileName(const std::string& filter, const std::string& fileName) override;
    std::string getSaveFileName(const std::string& filter, const std::string& fileName) override;

    // Paths are used in order; an empty queue (or "") means the user cancelled.
    void queuePath(const std::string& path) { m_paths.push_back(path); }
    const std::vector<Asked>& asked() const { return m_asked; }

private:
    std::string next(bool save, const std::string& filter, const std::string& fileName);
    std::deque<std::string> m_paths;
    std::vector<Asked> m_asked;
};

// Printing that records the printed text instead of using a printer.
class ScriptedPrinting : public Printing {
public:
    bool choosePrinter() override;
    bool printPane(DocumentPane& pane) override;

    // Whether the printer dialog is confirmed (default) and whether printing succeeds.
    void setChoosesPrinter(bool yes) { m_chooses = yes; }
    void setPrintSucceeds(bool yes) { m_succeeds = yes; }
    int dialogsShown() const { return m_dialogs; }
    // The plain text of each print job: the selection when there is one, else the whole text.
    const std::vector<std::u16string>& printed() const { return m_printed; }

private:
    bool m_chooses = true;
    bool m_succeeds = true;
    int m_dialogs = 0;
    std::vector<std::u16string> m_printed;
};

// A clock that ticks when the test calls tick(); a disabled clock does not tick.
class ManualClock : public Clock {
public:
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool enabled() const override { return m_enabled; }
    void setTickHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

    // One second passes: runs the tick handler once when enabled. Returns whether it ran.
    bool tick();
    // `count` seconds pass.
    int tick(int count);

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

    ProcessOutcome run(const std::string& program, const std::vector<std::string>& args,
                       std::chrono::milliseconds timeout) override;
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override;
    std::optional<std::string> findProgram(const std::string& name) const override;

    // Outcomes of run() in order; with the queue empty a run does not start. An action, when
    // set, runs before the outcome is returned (a fake converter writes its output file there).
    void queueOutcome(ProcessOutcome outcome, std::function<void(const Call&)> action = {});
    void setDetachedStarts(bool yes) { m_detachedStarts = yes; }
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
