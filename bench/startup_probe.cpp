// How long a program takes from its start to its first window on the screen: the program
// is started, the X server tells when a top-level window is mapped, and the window's middle is
// read until it is no longer the black of the root, which is when the program has drawn its
// first frame; then the program is ended. A window is mapped before it is drawn, and a
// desktop's compositor shows it only once it is: the first frame is what a player waits for.
// Two programs are run in turn, A B A B ..., after one run of each not counted, and the
// medians of each and of the ratios A/B pair by pair are printed, for both moments, so that
// a comparison holds on a machine whose speed drifts. The processor time each program used,
// all its threads together, until it was ended is given too: on a machine of few cores the
// programs, the X server and this probe share them, and a start-up that does its work on more
// threads is then no sooner for it. Needs an X server with a black root
// (Xvfb -br; tools/startup-compare starts one).
//
// Usage: startup_probe RUNS PROGRAM_A [ARG...] -- PROGRAM_B [ARG...]

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Times {
    double mapped = -1; // milliseconds from the start to the window's mapping
    double drawn = -1; // and to its first frame
    double processor = -1; // milliseconds of processor time used until it was ended
};

// Whether the window's middle is still the root's black; false once the window is gone.
bool undrawn(Display* display, Window window, const XWindowAttributes& size)
{
    XImage* image
        = XGetImage(display, window, size.width / 2, size.height / 2, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    const bool black = (XGetPixel(image, 0, 0) & 0xffffff) == 0;
    XDestroyImage(image);
    return black;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

Times timesToWindow(Display* display, std::vector<char*> command)
{
    command.push_back(nullptr);
    XSync(display, True); // forget what earlier runs left
    const Clock::time_point start = Clock::now();
    const auto since = [&start] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command.data());
        _exit(127);
    }
    Times times;
    Window window = 0;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) {
            times.mapped = since();
            window = event.xmap.window;
            break;
        }
    }
    // Read every quarter of a millisecond: often enough to time a frame, seldom enough to
    // leave the server to the program.
    XWindowAttributes size;
    if (XGetWindowAttributes(display, window, &size)) {
        const timespec pause { 0, 250'000 };
        while (undrawn(display, window, size) && since() < 10'000)
            nanosleep(&pause, nullptr);
        times.drawn = since();
    }
    kill(child, SIGTERM);
    rusage usage {};
    if (wait4(child, nullptr, 0, &usage) == child)
        times.processor = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
            + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return times;
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One measure of both programs, run by run, and the ratios of its pairs.
struct Series {
    std::vector<double> a;
    std::vector<double> b;
    std::vector<double> ratios;

    void add(double valueA, double valueB)
    {
        a.push_back(valueA);
        b.push_back(valueB);
        ratios.push_back(valueA / valueB);
    }
};

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

    XSetErrorHandler(ignoreErrors); // a window may go while it is read

    timesToWindow(display, a);
    timesToWindow(display, b);
    Series mapped;
    Series drawn;
    Series processor;
    for (int run = 0; run < runs; ++run) {
        const Times timesA = timesToWindow(display, a);
        const Times timesB = timesToWindow(display, b);
        mapped.add(timesA.mapped, timesB.mapped);
        drawn.add(timesA.drawn, timesB.drawn);
        processor.add(timesA.processor, timesB.processor);
        std::printf("run %2d  mapped A %6.1f ms  B %6.1f ms  A/B %.3f   drawn A %6.1f ms  "
                    "B %6.1f ms  A/B %.3f   processor A %6.1f ms  B %6.1f ms  A/B %.3f\n",
            run + 1, timesA.mapped, timesB.mapped, mapped.ratios.back(), timesA.drawn, timesB.drawn,
            drawn.ratios.back(), timesA.processor, timesB.processor, processor.ratios.back());
    }
    std::printf("median  mapped A %6.1f ms  B %6.1f ms  A/B %.3f   drawn A %6.1f ms  B %6.1f "
                "ms  A/B %.3f   processor A %6.1f ms  B %6.1f ms  A/B %.3f\n"
                "(A/B: the median of the pairs' ratios)\n",
        median(mapped.a), median(mapped.b), median(mapped.ratios), median(drawn.a), median(drawn.b),
        median(drawn.ratios), median(processor.a), median(processor.b), median(processor.ratios));
    XCloseDisplay(display);
    return 0;
}
