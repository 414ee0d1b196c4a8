// What the workspace's commands ask of the desktop: message boxes, file and printer dialogs,
// the one-second clock and starting outside programs. Each has a Qt implementation for the
// window and a scripted one for tests, so the commands above them run without a window.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keystride {

class DocumentPane;

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Question, Exclamation, Critical, Information };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(const std::string& text, const std::string& title,
                               MessageButtons buttons = MessageButtons::Ok,
                               MessageIcon icon = MessageIcon::None) = 0;
};

// Filters have the form "description|pattern|description|pattern"; the descriptions are shown
// as they stand.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or "" when the dialog was cancelled.
    virtual std::string getOpenFileName(const std::string& filter, const std::string& fileName) = 0;
    virtual std::string getSaveFileName(const std::string& filter, const std::string& fileName) = 0;
};

// The printer dialog and printing of a pane's content with its formatting.
class Printing {
public:
    virtual ~Printing() = default;
    // Shows the printer dialog; false when the user cancelled.
    virtual bool choosePrinter() = 0;
    // Prints the pane's whole content (or its selection) on the chosen printer; false on failure.
    virtual bool printPane(DocumentPane& pane) = 0;
};

// The clock of the timed test: one tick a second while enabled.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    virtual void setTickHandler(std::function<void()> handler) = 0;
};

struct ProcessOutcome {
    bool started = false;
    bool finished = false; // false when the time limit ran out (the process is then killed)
    int exitCode = -1;
    std::string output; // standard output and standard error
};

// The end of what a program said, for a message: its last 400 characters at most, without the
// line ends and blanks it closed with.
inline std::string outputTail(std::string_view output) {
    while (!output.empty() &&
           (output.back() == '\n' || output.back() == '\r' || output.back() == ' '))
        output.remove_suffix(1);
    if (output.size() > 400)
        return "..." + std::string(output.substr(output.size() - 400));
    return std::string(output);
}

// Outside programs get their arguments as a list, never through a shell.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts the program and waits for it up to `timeout`.
    virtual ProcessOutcome run(const std::string& program, const std::vector<std::string>& args,
                               std::chrono::milliseconds timeout) = 0;
    // Starts the program and does not wait; false when it could not be started.
    virtual bool startDetached(const std::string& program,
                               const std::vector<std::string>& args) = 0;
    // The full path of a program found on the PATH, or nullopt.
    virtual std::optional<std::string> findProgram(const std::string& name) const = 0;
};

} // namespace keystride
