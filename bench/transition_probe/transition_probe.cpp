// transition_probe: times a picture transition in the real window, through the X server.
//
//   transition_probe X,Y AREA_X,AREA_Y,AREA_W,AREA_H LISTEN_MS
//
// Clicks at (X, Y) of the window whose name is the game's title (DISPLAY), then records every
// damage the window reports inside AREA (window coordinates) for LISTEN_MS, and prints the
// number of damaged frames and the times (ms after the click) of the first and last of them.
// A transition of N frames at 50 ms shows N damages, the last about N * 50 ms after the click.
//
// Built with the benchmarks (BUILD_DIR/bench/transition_probe) where Xlib, DAMAGE and XTEST exist.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <time.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

bool HasName(Display* display, Window window, const std::string& name) {
    const Atom net_name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, net_name, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) != Success ||
        !data) {
        return false;
    }
    const bool same = name == reinterpret_cast<const char*>(data);
    XFree(data);
    return same;
}

Window Find(Display* display, Window root, const std::string& name) {
    if (HasName(display, root, name)) return root;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = Find(display, children[i], name);
    if (children) XFree(children);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    int x = 0, y = 0, ax = 0, ay = 0, aw = 0, ah = 0, listen_ms = 0;
    if (argc != 4 || std::sscanf(argv[1], "%d,%d", &x, &y) != 2 ||
        std::sscanf(argv[2], "%d,%d,%d,%d", &ax, &ay, &aw, &ah) != 4 ||
        std::sscanf(argv[3], "%d", &listen_ms) != 1) {
        std::fprintf(stderr, "usage: transition_probe X,Y AX,AY,AW,AH LISTEN_MS\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    int damage_event = 0, damage_error = 0;
    if (!XDamageQueryExtension(display, &damage_event, &damage_error)) return 1;
    const Window window = Find(display, DefaultRootWindow(display), "月影回廊物語");
    if (!window) {
        std::fprintf(stderr, "transition_probe: no window\n");
        return 1;
    }
    XDamageCreate(display, window, XDamageReportRawRectangles);
    XSync(display, False);

    int root_x = 0, root_y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &root_x, &root_y,
                          &child);
    XTestFakeMotionEvent(display, -1, root_x, root_y, CurrentTime);
    XSync(display, False);
    // Drop what the move caused.
    for (XEvent e; XPending(display);) XNextEvent(display, &e);
    const double clicked = NowMs();
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);

    std::vector<double> frames;
    double last_frame = -1000;
    while (NowMs() - clicked < listen_ms) {
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 10);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != damage_event + XDamageNotify) continue;
            const auto* d = reinterpret_cast<XDamageNotifyEvent*>(&event);
            const XRectangle& r = d->area;
            if (r.x + r.width <= ax || r.y + r.height <= ay || r.x >= ax + aw || r.y >= ay + ah) {
                continue;
            }
            const double at = NowMs() - clicked;
            // Rectangles of one repaint arrive together: count them as one frame.
            if (at - last_frame > 15) frames.push_back(at);
            last_frame = at;
        }
    }
    if (frames.empty()) {
        std::printf("frames 0\n");
        return 0;
    }
    std::printf("frames %zu first %.0f ms last %.0f ms span %.0f ms\n", frames.size(),
                frames.front(), frames.back(), frames.back() - frames.front());
    XCloseDisplay(display);
    return 0;
}
