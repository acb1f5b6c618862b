// Starts a program and watches the X server for its windows: how long from the exec until the first
// frame of a window of a given title, and the program's peak resident memory once it is up.
//
// "First frame" is the first time the program's picture is in the mapped window. The probe asks the X
// server for damage reports on every top-level window as soon as it is created (DAMAGE extension) and
// looks at the window's pixels at each report after the map: the first report after which the window
// is no longer one flat colour is the first frame. The look is needed because the server itself
// clears a window with an alpha channel (Dravik's translucent window) when it is mapped, which is
// reported as damage too. The wait is event-driven: no polling interval blurs the figure.
//
//   startup_probe --window TITLE [--close] [--settle-ms N] [--timeout-ms N]
//                 -- PROGRAM ARGS...
//
// --close closes the window of the given title (WM_DELETE_WINDOW), as a user pressing its close
// button would, once start-up has settled, and waits for the program to end.
// Prints one line of key=value pairs: first_any_ms (first frame of any window of the program),
// map_ms and first_frame_ms (the window of the given title), peak_rss_kib (VmHWM, read --settle-ms
// after that first frame), status (how the program ended: exit:N, signal:N, or ended when the probe
// ended it: after the measure, at the time-out, or when --close did not end it). Exits 1 when the window gave
// no frame before the time-out, 2 when the probe itself cannot go on; in every case the program it started is
// ended first, and the probe never waits past its time-out.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The started program, ended on every way out of the probe.
volatile pid_t startedChild = 0;

struct Options {
    std::string window;
    int settleMs = 1000;
    int timeoutMs = 30000;
    bool close = false;
    std::vector<char*> command;
};

struct Watched {
    Damage damage = 0;
    bool mapped = false;
    bool framed = false;
    double mapMs = -1;
};

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: startup_probe --window TITLE [--close] [--settle-ms N] "
                         "[--timeout-ms N] -- PROGRAM ARGS...\n");
    std::exit(2);
}

Options parseOptions(int argc, char** argv) {
    Options o;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a == "--close") {
            o.close = true;
            continue;
        }
        if (i + 1 >= argc)
            usage();
        if (a == "--window")
            o.window = argv[++i];
        else if (a == "--settle-ms")
            o.settleMs = std::atoi(argv[++i]);
        else if (a == "--timeout-ms")
            o.timeoutMs = std::atoi(argv[++i]);
        else
            usage();
    }
    for (; i < argc; ++i)
        o.command.push_back(argv[i]);
    if (o.window.empty() || o.command.empty())
        usage();
    o.command.push_back(nullptr);
    return o;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The title as the program set it: _NET_WM_NAME (UTF-8), else WM_NAME.
std::string windowTitle(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (!title.empty())
            return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// The process that owns the window, from _NET_WM_PID; 0 when the window does not say.
long windowPid(Display* display, Window window) {
    const Atom netPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, netPid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (count == 1 && format == 32)
            pid = *reinterpret_cast<long*>(data);
        XFree(data);
    }
    return pid;
}

// Whether the window shows a picture: not every pixel has the same value.
bool hasPicture(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long first = XGetPixel(image, 0, 0);
    bool varied = false;
    for (int y = 0; y < image->height && !varied; ++y)
        for (int x = 0; x < image->width; ++x)
            if (XGetPixel(image, x, y) != first) {
                varied = true;
                break;
            }
    XDestroyImage(image);
    return varied;
}

void askToClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

long peakRssKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

void endChild(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// How the program ended, for the result line.
std::string describeEnd(bool ended, int status) {
    if (ended && WIFEXITED(status))
        return "exit:" + std::to_string(WEXITSTATUS(status));
    if (ended && WIFSIGNALED(status))
        return "signal:" + std::to_string(WTERMSIG(status));
    return "ended";
}

// Waits until the program ends or the time is up, answering the X server meanwhile so that the
// program is never held up by us. Returns whether it ended.
bool waitForEnd(Display* display, pid_t child, int* status, int waitMs) {
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (child > 0 && waitpid(child, status, WNOHANG) == child)
            return true;
        if (Clock::now() >= until)
            return false;
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 20);
    }
}

// Requests about windows of other programs can fail at any moment: a window is destroyed between
// its creation report and our request (BadWindow, BadDrawable), or cannot carry damage (BadMatch).
// Xlib's default handler would end the probe and leave the program running; such a window is skipped.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// The X server went away: nothing more can be measured.
int lostDisplay(Display*) {
    if (startedChild > 0)
        kill(startedChild, SIGKILL);
    std::fprintf(stderr, "startup_probe: lost the connection to the X server\n");
    _exit(2);
}

void endOnSignal(int signal) {
    if (startedChild > 0)
        kill(startedChild, SIGKILL);
    _exit(128 + signal);
}

// Damage reports for a new top-level window; 0 when it cannot give any (an input-only window has
// no contents, and one already destroyed has nothing left).
Damage watchDamage(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.c_class == InputOnly)
        return 0;
    return XDamageCreate(display, window, XDamageReportNonEmpty);
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: cannot open the X display\n");
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "startup_probe: the X server has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreXError);
    XSetIOErrorHandler(lostDisplay);
    std::signal(SIGTERM, endOnSignal);
    std::signal(SIGINT, endOnSignal);
    std::signal(SIGHUP, endOnSignal);
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    startedChild = child;
    if (child == 0) {
        // The program's output goes where the probe's messages go: the probe's own output is the
        // one result line, and a caller reading it to its end must not wait for the program.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(options.command[0], options.command.data());
        std::perror("exec");
        _exit(127);
    }

    std::map<Window, Watched> windows;
    double firstAnyMs = -1, mapMs = -1, firstFrameMs = -1;
    Window measured = 0;
    bool exited = false;
    int status = 0;
    while (firstFrameMs < 0 && !exited) {
        while (XPending(display) && msSince(start) < options.timeoutMs) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
                const Damage damage = watchDamage(display, event.xcreatewindow.window);
                if (damage)
                    windows[event.xcreatewindow.window].damage = damage;
            } else if (event.type == MapNotify) {
                auto it = windows.find(event.xmap.window);
                if (it != windows.end() && !it->second.mapped) {
                    it->second.mapped = true;
                    it->second.mapMs = msSince(start);
                }
            } else if (event.type == DestroyNotify) {
                windows.erase(event.xdestroywindow.window);
            } else if (event.type == damageEvent + XDamageNotify) {
                const auto* notify = reinterpret_cast<XDamageNotifyEvent*>(&event);
                auto it = windows.find(notify->drawable);
                if (it == windows.end() || !it->second.mapped || it->second.framed)
                    continue;
                const double now = msSince(start);
                const long pid = windowPid(display, notify->drawable);
                if (pid != 0 && pid != child)
                    continue;
                if (!hasPicture(display, notify->drawable)) {
                    XDamageSubtract(display, it->second.damage, None, None); // report the next drawing
                    continue;
                }
                it->second.framed = true;
                if (firstAnyMs < 0)
                    firstAnyMs = now;
                const std::string title = windowTitle(display, notify->drawable);
                if (title == options.window) {
                    mapMs = it->second.mapMs;
                    firstFrameMs = now;
                    measured = notify->drawable;
                }
            }
        }
        if (firstFrameMs >= 0)
            break;
        const int left = options.timeoutMs - static_cast<int>(msSince(start));
        if (left <= 0)
            break;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, left < 50 ? left : 50);
        if (waitpid(child, &status, WNOHANG) == child)
            exited = true;
    }

    if (firstFrameMs < 0) {
        std::printf("first_any_ms=%.1f map_ms=-1 first_frame_ms=-1 peak_rss_kib=-1 status=%s\n", firstAnyMs,
                    describeEnd(exited, status).c_str());
        std::fprintf(stderr, "startup_probe: no frame of a window titled \"%s\" %s\n", options.window.c_str(),
                     exited ? "before the program ended" : "before the time-out");
        if (!exited)
            endChild(child);
        return 1;
    }

    // Let start-up settle. A program that ends meanwhile is reported as it ended.
    exited = waitForEnd(display, child, &status, options.settleMs);
    const long rss = exited ? -1 : peakRssKib(child);
    if (!exited && options.close) {
        askToClose(display, measured);
        exited = waitForEnd(display, child, &status, options.timeoutMs);
    }
    if (!exited)
        endChild(child);
    std::printf("first_any_ms=%.1f map_ms=%.1f first_frame_ms=%.1f peak_rss_kib=%ld status=%s\n", firstAnyMs,
                mapMs, firstFrameMs, rss, describeEnd(exited, status).c_str());
    XCloseDisplay(display);
    return 0;
}
