// How long a program takes from its start to its first window on the screen: the program
// is started, the X server tells when a top-level window is mapped, the program is ended.
// Two programs are run in turn, A B A B ..., after one run of each not counted, and the
// median of each and of the ratio A/B pair by pair are printed, so that a comparison holds
// on a machine whose speed drifts. Needs an X server (tools/startup-compare starts one).
//
// Usage: startup_probe RUNS PROGRAM_A [ARG...] -- PROGRAM_B [ARG...]

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds from the start of the program to the mapping of its first top-level
// window; negative when it ended without one.
double timeToWindow(Display* display, std::vector<char*> command)
{
    command.push_back(nullptr);
    XSync(display, True); // forget what earlier runs left
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command.data());
        _exit(127);
    }
    double elapsed = -1;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) {
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return elapsed;
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> a;
    std::vector<char*> b;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--" && b.empty() && !a.empty()) {
            for (++i; i < argc; ++i)
                b.push_back(argv[i]);
            break;
        }
        a.push_back(argv[i]);
    }
    const int runs = argc > 1 ? std::atoi(argv[1]) : 0;
    if (runs < 1 || a.empty() || b.empty()) {
        std::fputs("usage: startup_probe RUNS PROGRAM_A [ARG...] -- PROGRAM_B [ARG...]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("startup_probe: no X display\n", stderr);
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    timeToWindow(display, a);
    timeToWindow(display, b);
    std::vector<double> timesA;
    std::vector<double> timesB;
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        timesA.push_back(timeToWindow(display, a));
        timesB.push_back(timeToWindow(display, b));
        ratios.push_back(timesA.back() / timesB.back());
        std::printf("run %2d  A %7.1f ms  B %7.1f ms  A/B %.3f\n", run + 1, timesA.back(),
            timesB.back(), ratios.back());
    }
    std::printf("median  A %7.1f ms  B %7.1f ms  A/B %.3f (median of the pairs' ratios)\n",
        median(timesA), median(timesB), median(ratios));
    XCloseDisplay(display);
    return 0;
}
