// window_probe: measures a whole windowed program from outside, through the X server.
//
//   window_probe [--runs N] [--name TITLE] [--settle MS] [--idle MS] [--quiet MS]
//                [--timeout MS] [--click X,Y | --time-click X,Y]... [--quit-click X,Y]
//                -- PROGRAM [ARGS...]
//
// For each run it starts PROGRAM and reports
//   - the time from just before exec to the first damage (painted frame) of the program's
//     top-level window whose title is TITLE (also when it was created and mapped);
//   - VmRSS and VmHWM once the program has stopped drawing for --idle ms;
//   - for each --time-click step (the pointer is moved there first and the windows left to
//     settle), the time from the click to the next damage on any of the program's windows;
//   - for a --quit-click step, the time from the click to the program's end (the last step);
// --click steps are clicked without timing, to reach a state; every step is followed by
// --settle ms and then by --quiet ms without drawing.
// then ends the program (SIGTERM, SIGKILL a second later). Click coordinates are relative to
// the window's client area. After all runs it prints min and median of each number.
//
// Run it on a display of its own (an Xvfb) without a window manager: the program's windows are
// the ones created on that display after the start.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Nanos = std::int64_t;

constexpr Nanos kMilli = 1'000'000;

Nanos Now() {
    timespec time{};
    clock_gettime(CLOCK_MONOTONIC, &time);
    return Nanos{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

double Ms(Nanos nanos) {
    return static_cast<double>(nanos) / kMilli;
}

struct Step {
    int x = 0;
    int y = 0;
    bool timed = false;
    bool quits = false;
};

struct Options {
    int runs = 1;
    std::string title = "月影回廊物語";
    int settle_ms = 300;
    int idle_ms = 1500;
    int quiet_ms = 200;
    int timeout_ms = 20000;
    bool verbose = false;
    std::vector<Step> steps;
    std::vector<char*> command;  // null-terminated for execvp
};

[[noreturn]] void Usage(const char* message) {
    std::fprintf(stderr,
                 "window_probe: %s\n"
                 "usage: window_probe [--runs N] [--name TITLE] [--settle MS] [--idle MS]\n"
                 "                    [--quiet MS] [--timeout MS] [--click X,Y]...\n"
                 "                    [--time-click X,Y]... -- PROGRAM [ARGS...]\n",
                 message);
    std::exit(2);
}

int ParseInt(std::string_view text, const char* what) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) Usage(what);
    return value;
}

Step ParsePoint(std::string_view text, bool timed) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) Usage("a click needs X,Y");
    return Step{ParseInt(text.substr(0, comma), "bad click X"),
                ParseInt(text.substr(comma + 1), "bad click Y"), timed};
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    int index = 1;
    auto value = [&](const char* name) -> std::string_view {
        if (index + 1 >= argc) Usage((std::string(name) + " needs a value").c_str());
        return argv[++index];
    };
    for (; index < argc; ++index) {
        const std::string_view arg = argv[index];
        if (arg == "--") {
            ++index;
            break;
        }
        if (arg == "--runs") {
            options.runs = ParseInt(value("--runs"), "bad --runs");
        } else if (arg == "--name") {
            options.title = value("--name");
        } else if (arg == "--settle") {
            options.settle_ms = ParseInt(value("--settle"), "bad --settle");
        } else if (arg == "--idle") {
            options.idle_ms = ParseInt(value("--idle"), "bad --idle");
        } else if (arg == "--quiet") {
            options.quiet_ms = ParseInt(value("--quiet"), "bad --quiet");
        } else if (arg == "--timeout") {
            options.timeout_ms = ParseInt(value("--timeout"), "bad --timeout");
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--click") {
            options.steps.push_back(ParsePoint(value("--click"), false));
        } else if (arg == "--time-click") {
            options.steps.push_back(ParsePoint(value("--time-click"), true));
        } else if (arg == "--quit-click") {
            options.steps.push_back(ParsePoint(value("--quit-click"), false));
            options.steps.back().quits = true;
        } else {
            Usage(("unknown option " + std::string(arg)).c_str());
        }
    }
    if (index >= argc) Usage("no program given after --");
    if (options.runs < 1) Usage("--runs must be at least 1");
    for (; index < argc; ++index) options.command.push_back(argv[index]);
    options.command.push_back(nullptr);
    return options;
}

// The program's process group, ended if the probe itself is interrupted.
volatile sig_atomic_t g_child_group = 0;

void OnInterrupt(int signal_number) {
    if (g_child_group > 0) kill(-g_child_group, SIGKILL);
    signal(signal_number, SIG_DFL);
    raise(signal_number);
}

// Windows vanish under the probe's feet when the program ends or closes a popup; requests on
// them then fail harmlessly.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

struct Memory {
    double rss_mib = 0;
    double hwm_mib = 0;
    double anon_mib = 0;
    double file_mib = 0;
    double shmem_mib = 0;
};

std::optional<Memory> ReadMemory(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    if (!status) return std::nullopt;
    Memory memory;
    const std::pair<const char*, double*> fields[] = {{"VmRSS:", &memory.rss_mib},
                                                      {"VmHWM:", &memory.hwm_mib},
                                                      {"RssAnon:", &memory.anon_mib},
                                                      {"RssFile:", &memory.file_mib},
                                                      {"RssShmem:", &memory.shmem_mib}};
    std::string line;
    while (std::getline(status, line)) {
        for (const auto& [name, target] : fields) {
            if (line.rfind(name, 0) == 0)
                *target = std::strtol(line.c_str() + std::strlen(name), nullptr, 10) / 1024.0;
        }
    }
    return memory;
}

struct RunResult {
    int width = 0;  // of the program's window, once painted
    int height = 0;
    std::optional<double> create_ms;
    std::optional<double> map_ms;
    std::optional<double> paint_ms;
    std::optional<Memory> idle_memory;
    bool idle_reached = false;
    std::optional<Memory> ready_memory;  // before the first timed click
    std::optional<Memory> end_memory;    // after the last step
    std::vector<double> click_ms;
    int missed_clicks = 0;
    std::optional<double> quit_ms;
};

class Probe {
  public:
    explicit Probe(const Options& options) : options_(options) {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) throw std::runtime_error("cannot open the display (DISPLAY?)");
        fcntl(ConnectionNumber(display_), F_SETFD, FD_CLOEXEC);
        XSetErrorHandler(IgnoreXError);
        int error_base = 0;
        if (!XDamageQueryExtension(display_, &damage_event_base_, &error_base)) {
            throw std::runtime_error("the X server has no DAMAGE extension");
        }
        int major = 0;
        int minor = 0;
        int event_base = 0;
        if (!XTestQueryExtension(display_, &event_base, &error_base, &major, &minor)) {
            throw std::runtime_error("the X server has no XTEST extension");
        }
        root_ = DefaultRootWindow(display_);
        net_wm_name_ = XInternAtom(display_, "_NET_WM_NAME", False);
        net_wm_pid_ = XInternAtom(display_, "_NET_WM_PID", False);
        utf8_string_ = XInternAtom(display_, "UTF8_STRING", False);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
    }

    ~Probe() { XCloseDisplay(display_); }

    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    RunResult Run() {
        ResetRun();
        RunResult result;
        const Nanos exec_time = Launch();
        exec_time_ = exec_time;
        const Nanos launch_deadline = exec_time + options_.timeout_ms * kMilli;
        const bool painted = PumpUntil(launch_deadline, [this] {
            return target_ != None && windows_[target_].first_damage != 0;
        });
        if (!painted) {
            if (ChildAlive()) {
                std::fprintf(stderr, "window_probe: no painted window titled \"%s\" within %d ms\n",
                             options_.title.c_str(), options_.timeout_ms);
            } else {
                std::fprintf(stderr,
                             "window_probe: the program ended before painting a window "
                             "titled \"%s\"\n",
                             options_.title.c_str());
            }
            Stop();
            return result;
        }
        const Tracked& target = windows_[target_];
        result.create_ms = Ms(target.created - exec_time);
        if (target.mapped != 0) result.map_ms = Ms(target.mapped - exec_time);
        result.paint_ms = Ms(target.first_damage - exec_time);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, target_, &attributes)) {
            result.width = attributes.width;
            result.height = attributes.height;
        }

        result.idle_reached = WaitQuiet(options_.idle_ms * kMilli, 10 * options_.idle_ms * kMilli);
        result.idle_memory = ReadMemory(child_);

        for (const Step& step : options_.steps) {
            if (!ChildAlive()) break;
            int root_x = 0;
            int root_y = 0;
            Window unused = None;
            XTranslateCoordinates(display_, target_, root_, step.x, step.y, &root_x, &root_y,
                                  &unused);
            XTestFakeMotionEvent(display_, DefaultScreen(display_), root_x, root_y, CurrentTime);
            XFlush(display_);
            if (step.timed) {
                WaitQuiet(options_.quiet_ms * kMilli, 3000 * kMilli);
                if (!result.ready_memory) result.ready_memory = ReadMemory(child_);
            } else {
                PumpUntil(Now() + 50 * kMilli, [] { return false; });
            }
            // Press and release go out together: the latency counts from the click as a whole,
            // whichever of the two the program answers.
            const long before = damage_count_;
            first_damage_after_mark_ = 0;
            XTestFakeButtonEvent(display_, 1, True, CurrentTime);
            XTestFakeButtonEvent(display_, 1, False, CurrentTime);
            const Nanos clicked = Now();
            XFlush(display_);
            Log(clicked, "%s at %d,%d", step.timed ? "timed click" : "click", step.x, step.y);
            if (step.quits) {
                if (WaitForEnd(clicked + 5000 * kMilli)) result.quit_ms = Ms(Now() - clicked);
                break;
            }
            if (step.timed) {
                if (PumpUntil(clicked + 5000 * kMilli, [&] { return damage_count_ > before; })) {
                    result.click_ms.push_back(Ms(first_damage_after_mark_ - clicked));
                } else {
                    ++result.missed_clicks;
                }
            }
            PumpUntil(Now() + options_.settle_ms * kMilli, [] { return false; });
            WaitQuiet(options_.quiet_ms * kMilli, 5000 * kMilli);
        }
        if (!options_.steps.empty()) result.end_memory = ReadMemory(child_);
        const bool asked_to_end = !options_.steps.empty() && options_.steps.back().quits;
        if (!ChildAlive() && !asked_to_end) {
            std::fprintf(stderr, "window_probe: the program ended by itself\n");
        }
        Stop();
        return result;
    }

  private:
    struct Tracked {
        Damage damage = None;
        Nanos created = 0;
        Nanos mapped = 0;
        Nanos first_damage = 0;
    };

    // One line of what happened, stamped with the time since the program's exec.
    __attribute__((format(printf, 3, 4))) void Log(Nanos now, const char* format, ...) {
        if (!options_.verbose) return;
        std::fprintf(stderr, "%9.3f ms  ", Ms(now - exec_time_));
        va_list args;
        va_start(args, format);
        std::vfprintf(stderr, format, args);
        va_end(args);
        std::fputc('\n', stderr);
    }

    void ResetRun() {
        windows_.clear();
        target_ = None;
        damage_count_ = 0;
        last_damage_ = 0;
        first_damage_after_mark_ = 0;
        child_exited_ = false;
    }

    // Starts the program; returns the time taken just before its exec.
    Nanos Launch() {
        int pipe_fds[2];
        if (pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        const pid_t pid = fork();
        if (pid < 0) throw std::runtime_error("fork failed");
        if (pid == 0) {
            close(pipe_fds[0]);
            setpgid(0, 0);
            const int null_fd = open("/dev/null", O_RDONLY);
            if (null_fd >= 0) dup2(null_fd, STDIN_FILENO);
            const Nanos start = Now();
            if (write(pipe_fds[1], &start, sizeof start) != sizeof start) _exit(127);
            execvp(options_.command[0], options_.command.data());
            const int error = errno;
            if (write(pipe_fds[1], &error, sizeof error) != sizeof error) _exit(127);
            _exit(127);
        }
        setpgid(pid, pid);
        child_ = pid;
        g_child_group = pid;
        close(pipe_fds[1]);
        Nanos start = 0;
        int error = 0;
        const bool got_start = read(pipe_fds[0], &start, sizeof start) == sizeof start;
        const bool exec_failed = read(pipe_fds[0], &error, sizeof error) == sizeof error;
        close(pipe_fds[0]);
        if (!got_start || exec_failed) {
            waitpid(pid, nullptr, 0);
            g_child_group = 0;
            throw std::runtime_error(std::string("cannot run ") + options_.command[0] + ": " +
                                     std::strerror(error));
        }
        return start;
    }

    // Looks without reaping: the ended program stays a zombie, so its process group id cannot
    // be handed to another process before Stop() has signalled what is left of the group.
    bool ChildAlive() {
        if (child_exited_) return false;
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(child_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
            info.si_pid == child_) {
            child_exited_ = true;
        }
        return !child_exited_;
    }

    void Stop() {
        if (ChildAlive()) {
            kill(-child_, SIGTERM);
            const Nanos deadline = Now() + 1000 * kMilli;
            while (ChildAlive() && Now() < deadline)
                PumpUntil(Now() + 10 * kMilli, [] { return false; });
        }
        kill(-child_, SIGKILL);  // the program if it is still there, and anything it left behind
        waitpid(child_, nullptr, 0);
        child_exited_ = true;
        g_child_group = 0;
        XSync(display_, False);
        PumpUntil(Now() + 50 * kMilli, [] { return false; });
        windows_.clear();
    }

    // Handles events until `done` holds (true) or the deadline passes (false).
    bool PumpUntil(Nanos deadline, const std::function<bool()>& done) {
        for (;;) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                Handle(event, Now());
            }
            if (done()) return true;
            const Nanos now = Now();
            if (now >= deadline) return false;
            if (!ChildAlive() && XPending(display_) == 0) return done();
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            const Nanos wait = std::min<Nanos>(deadline - now, 20 * kMilli);
            poll(&connection, 1, static_cast<int>((wait + kMilli - 1) / kMilli));
        }
    }

    // Waits for the program's end, looking every millisecond; false at the deadline.
    bool WaitForEnd(Nanos deadline) {
        while (ChildAlive()) {
            if (Now() >= deadline) return false;
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                Handle(event, Now());
            }
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            poll(&connection, 1, 1);
        }
        return true;
    }

    // Waits until no window of the program has been drawn for `quiet`; false after `cap`.
    bool WaitQuiet(Nanos quiet, Nanos cap) {
        const Nanos start = Now();
        for (;;) {
            const Nanos since = std::max(last_damage_, start);
            const Nanos now = Now();
            if (now - since >= quiet) return true;
            if (now - start >= cap || !ChildAlive()) return false;
            PumpUntil(std::min(since + quiet, start + cap), [] { return false; });
        }
    }

    void Handle(const XEvent& event, Nanos now) {
        if (event.type == damage_event_base_ + XDamageNotify) {
            XDamageNotifyEvent damage;
            std::memcpy(&damage, &event, sizeof damage);
            auto found = windows_.find(damage.drawable);
            if (found == windows_.end()) return;
            if (found->second.first_damage == 0) found->second.first_damage = now;
            if (first_damage_after_mark_ == 0) first_damage_after_mark_ = now;
            Log(now, "damage 0x%lx %dx%d+%d+%d", damage.drawable, damage.area.width,
                damage.area.height, damage.area.x, damage.area.y);
            last_damage_ = now;
            ++damage_count_;
            return;
        }
        switch (event.type) {
            case CreateNotify:
                if (event.xcreatewindow.parent == root_) Track(event.xcreatewindow.window, now);
                break;
            case MapNotify:
                if (auto found = windows_.find(event.xmap.window); found != windows_.end()) {
                    if (found->second.mapped == 0) found->second.mapped = now;
                    Log(now, "mapped 0x%lx", event.xmap.window);
                    Identify(event.xmap.window);
                }
                break;
            case PropertyNotify:
                Identify(event.xproperty.window);
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == target_) target_ = None;
                windows_.erase(event.xdestroywindow.window);
                break;
            default:
                break;
        }
    }

    // Watches a new top-level window from its creation on, so that no paint goes unseen.
    void Track(Window window, Nanos now) {
        Tracked& tracked = windows_[window];
        tracked.created = now;
        Log(now, "created 0x%lx", window);
        XSelectInput(display_, window, PropertyChangeMask);
        tracked.damage = XDamageCreate(display_, window, XDamageReportRawRectangles);
        XFlush(display_);
    }

    void Identify(Window window) {
        if (target_ != None || windows_.count(window) == 0) return;
        if (TitleOf(window) != options_.title) return;
        const std::optional<long> pid = PidOf(window);
        if (pid && *pid != child_) return;
        target_ = window;
        Log(Now(), "0x%lx is the window \"%s\"", window, options_.title.c_str());
    }

    std::string TitleOf(Window window) {
        std::string title = TextProperty(window, net_wm_name_);
        if (title.empty()) title = TextProperty(window, XA_WM_NAME);
        return title;
    }

    std::string TextProperty(Window window, Atom property) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, property, 0, 1024, False, AnyPropertyType, &type,
                               &format, &count, &remaining, &data) != Success ||
            data == nullptr) {
            return {};
        }
        std::string text;
        if (format == 8 && type == utf8_string_) {
            text.assign(reinterpret_cast<const char*>(data), count);
        } else if (format == 8 && type == XA_STRING) {
            for (unsigned long i = 0; i < count; ++i) {  // Latin-1 to UTF-8
                const unsigned char byte = data[i];
                if (byte < 0x80) {
                    text += static_cast<char>(byte);
                } else {
                    text += static_cast<char>(0xC0 | (byte >> 6));
                    text += static_cast<char>(0x80 | (byte & 0x3F));
                }
            }
        } else if (format == 8) {  // COMPOUND_TEXT and the like
            XTextProperty property_text{data, type, format, count};
            char** list = nullptr;
            int list_count = 0;
            if (Xutf8TextPropertyToTextList(display_, &property_text, &list, &list_count) >=
                    Success &&
                list_count > 0) {
                text = list[0];
            }
            if (list != nullptr) XFreeStringList(list);
        }
        XFree(data);
        return text;
    }

    std::optional<long> PidOf(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        std::optional<long> pid;
        if (XGetWindowProperty(display_, window, net_wm_pid_, 0, 1, False, XA_CARDINAL, &type,
                               &format, &count, &remaining, &data) == Success &&
            data != nullptr && format == 32 && count == 1) {
            pid = *reinterpret_cast<const long*>(data);  // format 32 comes back as long
        }
        if (data != nullptr) XFree(data);
        return pid;
    }

    const Options& options_;
    Display* display_ = nullptr;
    Window root_ = None;
    int damage_event_base_ = 0;
    Atom net_wm_name_ = None;
    Atom net_wm_pid_ = None;
    Atom utf8_string_ = None;

    pid_t child_ = 0;
    bool child_exited_ = false;
    std::map<Window, Tracked> windows_;
    Window target_ = None;
    long damage_count_ = 0;
    Nanos last_damage_ = 0;
    Nanos first_damage_after_mark_ = 0;
    Nanos exec_time_ = 0;
};

struct Stats {
    double min = 0;
    double median = 0;
};

std::optional<Stats> Summarize(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    const double median =
        values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return Stats{values.front(), median};
}

void PrintStats(const char* name, const std::vector<double>& values) {
    if (auto stats = Summarize(values)) {
        std::printf("%-14s min=%.1f median=%.1f n=%zu\n", name, stats->min, stats->median,
                    values.size());
    } else {
        std::printf("%-14s none\n", name);
    }
}

std::string Describe(const std::optional<Memory>& memory) {
    if (!memory) return "?";
    char text[128];
    std::snprintf(text, sizeof text, "%.1f(hwm %.1f anon %.1f file %.1f shmem %.1f)",
                  memory->rss_mib, memory->hwm_mib, memory->anon_mib, memory->file_mib,
                  memory->shmem_mib);
    return text;
}

std::string Describe(const std::optional<double>& ms) {
    if (!ms) return "?";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *ms);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    signal(SIGINT, OnInterrupt);
    signal(SIGTERM, OnInterrupt);
    signal(SIGHUP, OnInterrupt);

    std::vector<double> paint;
    std::vector<double> idle_rss;
    std::vector<double> ready_rss;
    std::vector<double> end_rss;
    std::vector<double> clicks;
    std::vector<double> quits;
    int failures = 0;
    try {
        Probe probe(options);
        for (int run = 1; run <= options.runs; ++run) {
            const RunResult result = probe.Run();
            std::string click_list;
            for (double ms : result.click_ms) {
                click_list += (click_list.empty() ? "" : ",") + Describe(std::optional(ms));
            }
            if (result.missed_clicks > 0) {
                click_list += " (" + std::to_string(result.missed_clicks) + " drew nothing)";
            }
            std::printf(
                "run %d: window=%dx%d create_ms=%s map_ms=%s first_paint_ms=%s idle_rss_mib=%s%s "
                "ready_rss_mib=%s end_rss_mib=%s click_ms=%s quit_ms=%s\n",
                run, result.width, result.height, Describe(result.create_ms).c_str(),
                Describe(result.map_ms).c_str(), Describe(result.paint_ms).c_str(),
                Describe(result.idle_memory).c_str(), result.idle_reached ? "" : " (never idle)",
                Describe(result.ready_memory).c_str(), Describe(result.end_memory).c_str(),
                click_list.empty() ? "-" : click_list.c_str(), Describe(result.quit_ms).c_str());
            std::fflush(stdout);
            if (!result.paint_ms) ++failures;
            if (result.paint_ms) paint.push_back(*result.paint_ms);
            if (result.idle_memory) idle_rss.push_back(result.idle_memory->rss_mib);
            if (result.ready_memory) ready_rss.push_back(result.ready_memory->rss_mib);
            if (result.end_memory) end_rss.push_back(result.end_memory->rss_mib);
            clicks.insert(clicks.end(), result.click_ms.begin(), result.click_ms.end());
            if (result.quit_ms) quits.push_back(*result.quit_ms);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window_probe: %s\n", error.what());
        return 1;
    }
    PrintStats("first_paint_ms", paint);
    PrintStats("idle_rss_mib", idle_rss);
    PrintStats("ready_rss_mib", ready_rss);
    PrintStats("end_rss_mib", end_rss);
    PrintStats("click_ms", clicks);
    PrintStats("quit_ms", quits);
    return failures == 0 ? 0 : 1;
}
