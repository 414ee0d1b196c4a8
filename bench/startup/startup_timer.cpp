// keystride-startup-timer: launches a program under the X display and prints the milliseconds
// from the launch until the X server maps the program's first top-level window; then ends the
// program. The start-up benchmark runs it for the window and for an empty window in turn.
//
//   keystride-startup-timer [--timeout SECONDS] PROGRAM [ARGUMENT...]
//
// Without a window manager (Xvfb) a top-level window is a child of the root window, so watching
// the root for map notifications catches it; the window is the program's own because nothing
// else starts meanwhile. Exit status 0 with the time on standard output, 1 on a timeout or
// when the program ends first, 2 on bad usage or no display.
#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

pid_t launch(char** argv) {
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv);
        std::fprintf(stderr, "keystride-startup-timer: cannot start %s: %s\n", argv[0],
                     std::strerror(errno));
        _exit(127);
    }
    return child;
}

// Asks the program to end, and makes it when it has not within two seconds.
void end(pid_t child) {
    kill(child, SIGTERM);
    int status = 0;
    for (int tries = 0; tries < 200; ++tries) {
        if (waitpid(child, &status, WNOHANG) == child)
            return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
}

// Waits for the first MapNotify of a child of the root; false on a timeout or when the program
// ends before it maps a window.
bool waitForMap(Display* display, pid_t child, double timeoutMs, Clock::time_point start) {
    pollfd watched{ConnectionNumber(display), POLLIN, 0};
    while (millisecondsSince(start) < timeoutMs) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify)
                return true;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return false;
        poll(&watched, 1, 5);
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    double timeoutMs = 30000;
    int first = 1;
    if (argc > 2 && std::string(argv[1]) == "--timeout") {
        timeoutMs = 1000 * std::atof(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr,
                     "usage: keystride-startup-timer [--timeout SECONDS] PROGRAM [ARG...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "keystride-startup-timer: no X display (set DISPLAY)\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = launch(argv + first);
    const bool mapped = waitForMap(display, child, timeoutMs, start);
    const double elapsed = millisecondsSince(start);
    end(child);
    XCloseDisplay(display);
    if (!mapped) {
        std::fprintf(stderr, "keystride-startup-timer: %s mapped no window\n", argv[first]);
        return 1;
    }
    std::printf("%.1f\n", elapsed);
    return 0;
}
