#include "platform/desktop/posix_process_launcher.h"

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

    int output[2];
    int report[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return outcome;
    if (::pipe2(report, O_CLOEXEC) != 0) {
        ::close(output[0]);
        ::close(output[1]);
        return outcome;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        for (int fd : {output[0], output[1], report[0], report[1]})
            ::close(fd);
        return outcome;
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        const int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0)
            ::dup2(devNull, STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        ::dup2(output[1], STDERR_FILENO);
        execOrReport(*resolved, args, report[1]);
    }
    ::setpgid(pid, pid); // also here, so the group exists before any kill below
    ::close(output[1]);
    ::close(report[1]);

    int execError = 0;
    const bool execFailed = ::read(report[0], &execError, sizeof execError) == sizeof execError;
    ::close(report[0]);
    if (execFailed) {
        ::close(output[0]);
        ::waitpid(pid, nullptr, 0);
        return outcome;
    }
    outcome.started = true;

    const long long deadline = nowMs() + timeout.count();
    bool open = true;
    int status = 0;
    bool exited = false;
    while (true) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            exited = true;
            break;
        }
        const long long left = deadline - nowMs();
        if (left <= 0)
            break;
        if (!open) {
            // Output is closed but the program still runs: look again shortly.
            ::poll(nullptr, 0, static_cast<int>(std::min<long long>(left, 50)));
            continue;
        }
        pollfd fd{output[0], POLLIN, 0};
        const int ready = ::poll(&fd, 1, static_cast<int>(std::min<long long>(left, 100)));
        if (ready > 0) {
            char buffer[4096];
            const ssize_t n = ::read(output[0], buffer, sizeof buffer);
            if (n > 0) {
                // Enough for a message; a chatty program must not fill the memory.
                if (outcome.output.size() < 1 << 20)
                    outcome.output.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
                open = false;
            }
        }
    }
    if (!exited) {
        ::kill(-pid, SIGKILL);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ::close(output[0]);
        return outcome;
    }
    // Whatever is still in the pipe.
    while (open) {
        pollfd fd{output[0], POLLIN, 0};
        if (::poll(&fd, 1, 0) <= 0)
            break;
        char buffer[4096];
        const ssize_t n = ::read(output[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        if (outcome.output.size() < 1 << 20)
            outcome.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(output[0]);
    outcome.finished = true;
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
