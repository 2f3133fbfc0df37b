// request_close: asks a top-level window to close the way a window manager's close button does,
// with a WM_DELETE_WINDOW client message (ICCCM 4.1.2.7). Without a window manager nothing
// else sends it; xdotool's windowclose destroys the window instead, which a program never sees
// as a close request.
//
//   request_close WINDOW_ID    (decimal or 0x hex; the display comes from DISPLAY)
//
// Fails (status 1) when the window does not offer WM_DELETE_WINDOW in its WM_PROTOCOLS: a
// window manager would then have to kill the program rather than ask it.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace {

int Fail(const char* message) {
    std::fprintf(stderr, "request_close: %s\n", message);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: request_close WINDOW_ID\n");
        return 2;
    }
    char* end = nullptr;
    const unsigned long window = std::strtoul(argv[1], &end, 0);
    if (end == argv[1] || *end != '\0' || window == 0) return Fail("bad window id");

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return Fail("cannot open the display (DISPLAY?)");

    const Atom wm_protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom wm_delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
    Atom* protocols = nullptr;
    int count = 0;
    bool offered = false;
    if (XGetWMProtocols(display, window, &protocols, &count) != 0) {
        for (int i = 0; i < count; ++i) offered = offered || protocols[i] == wm_delete_window;
        XFree(protocols);
    }
    if (!offered) {
        XCloseDisplay(display);
        return Fail("the window does not offer WM_DELETE_WINDOW");
    }

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = wm_protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(wm_delete_window);
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0 ? 0 : Fail("sending the client message failed");
}
