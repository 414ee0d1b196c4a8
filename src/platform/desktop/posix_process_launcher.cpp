#include "platform/desktop/posix_process_launcher.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace keystride {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::vector<char*> argv(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> list;
    list.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        list.push_back(const_cast<char*>(arg.c_str()));
    list.push_back(nullptr);
    return list;
}

long long nowMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Reports the errno of a failed exec to the parent through a close-on-exec pipe.
[[noreturn]] void execOrReport(const std::string& program, const std::vector<std::string>& args,
                               int reportFd) {
    std::vector<char*> list = argv(program, args);
    ::execv(program.c_str(), list.data());
    const int error = errno;
    (void)!::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

// A started program: its process, which leads a process group of its own, and the reading end
// of the pipe that carries its standard output and standard error.
struct Child {
    pid_t pid;
    int output;
};

// Starts `program` with standard input from /dev/null and both outputs into a pipe; nullopt
// when it could not be started (the exec's own failure included).
std::optional<Child> spawn(const std::string& program, const std::vector<std::string>& args) {
    int output[2];
    int report[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return std::nullopt;
    if (::pipe2(report, O_CLOEXEC) != 0) {
        ::close(output[0]);
        ::close(output[1]);
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        for (int fd : {output[0], output[1], report[0], report[1]})
            ::close(fd);
        return std::nullopt;
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        const int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0)
            ::dup2(devNull, STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        ::dup2(output[1], STDERR_FILENO);
        execOrReport(program, args, report[1]);
    }
    ::setpgid(pid, pid); // also here, so the group exists before any kill
    ::close(output[1]);
    ::close(report[1]);
    int execError = 0;
    const bool execFailed = ::read(report[0], &execError, sizeof execError) == sizeof execError;
    ::close(report[0]);
    if (execFailed) {
        ::close(output[0]);
        ::waitpid(pid, nullptr, 0);
        return std::nullopt;
    }
    return Child{pid, output[0]};
}

// The program's output as it arrives, kept up to a limit: enough for a message, and a chatty
// program cannot fill the memory. Closes the pipe when it goes.
class OutputPipe {
public:
    explicit OutputPipe(int fd) : m_fd(fd) {}
    ~OutputPipe() { ::close(m_fd); }
    OutputPipe(const OutputPipe&) = delete;
    OutputPipe& operator=(const OutputPipe&) = delete;

    bool open() const { return m_open; }

    // Waits up to `waitMs` for output and keeps what came.
    void pump(std::string& kept, int waitMs) {
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, waitMs) <= 0)
            return;
        char buffer[4096];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0)
            keep(kept, buffer, n);
        else if (n == 0 || (errno != EINTR && errno != EAGAIN))
            m_open = false;
    }

    // Whatever is still in the pipe after the program has ended.
    void drain(std::string& kept) {
        while (m_open) {
            pollfd fd{m_fd, POLLIN, 0};
            if (::poll(&fd, 1, 0) <= 0)
                return;
            char buffer[4096];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                return;
            keep(kept, buffer, n);
        }
    }

private:
    static void keep(std::string& kept, const char* bytes, ssize_t n) {
        if (kept.size() < 1 << 20)
            kept.append(bytes, static_cast<std::size_t>(n));
    }

    int m_fd;
    bool m_open = true;
};

// The program's wait status once it has ended, gathering its output meanwhile; nullopt when
// the time limit ran out first.
std::optional<int> waitWithTimeLimit(pid_t pid, OutputPipe& output, std::string& kept,
                                     std::chrono::milliseconds timeout) {
    const long long deadline = nowMs() + timeout.count();
    while (true) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return status;
        const long long left = deadline - nowMs();
        if (left <= 0)
            return std::nullopt;
        if (output.open())
            output.pump(kept, static_cast<int>(std::min<long long>(left, 100)));
        else // output is closed but the program still runs: look again shortly
            ::poll(nullptr, 0, static_cast<int>(std::min<long long>(left, 50)));
    }
}

// Kills the program and every child it started, and reaps it.
void killGroup(pid_t pid) {
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

std::optional<std::string> findOnPath(const std::string& name) {
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string::npos)
        return isExecutableFile(name) ? std::optional<std::string>(name) : std::nullopt;
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string folder = folders.substr(start, end - start);
        // An empty entry stands for the current folder.
        if (folder.empty())
            folder.push_back('.');
        std::string candidate;
        candidate.reserve(folder.size() + 1 + name.size());
        candidate.append(folder).append(1, '/').append(name);
        if (isExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string> PosixProcessLauncher::findProgram(const std::string& name) const {
    return findOnPath(name);
}

ProcessOutcome PosixProcessLauncher::run(const std::string& program,
                                         const std::vector<std::string>& args,
                                         std::chrono::milliseconds timeout) {
    ProcessOutcome outcome;
    const std::optional<std::string> resolved = findOnPath(program);
    if (!resolved)
        return outcome;
    const std::optional<Child> child = spawn(*resolved, args);
    if (!child)
        return outcome;
    outcome.started = true;
    OutputPipe output{child->output};
    const std::optional<int> status =
        waitWithTimeLimit(child->pid, output, outcome.output, timeout);
    if (!status) {
        killGroup(child->pid);
        return outcome;
    }
    output.drain(outcome.output);
    outcome.finished = true;
    outcome.exitCode = WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    return outcome;
}

bool PosixProcessLauncher::startDetached(const std::string& program,
                                         const std::vector<std::string>& args) {
    const std::optional<std::string> resolved = findOnPath(program);
    if (!resolved)
        return false;
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    // The program is the child of a child that exits at once, so it is never left a zombie of
    // ours and outlives this process.
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (pid == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0)
            ::_exit(grandchild < 0 ? 1 : 0);
        const int devNull = ::open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
            ::dup2(devNull, STDOUT_FILENO);
            ::dup2(devNull, STDERR_FILENO);
        }
        execOrReport(*resolved, args, report[1]);
    }
    ::close(report[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    int execError = 0;
    const bool execFailed = ::read(report[0], &execError, sizeof execError) == sizeof execError;
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && !execFailed;
}

} // namespace keystride
