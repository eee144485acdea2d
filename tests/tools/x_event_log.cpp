// An independent observer of an X display: logs every button press and release and every key
// press as XInput2 raw events on the root (what the server really received, whoever sent it
// and whichever window it went to), and every top-level window mapped, one line per event.
// It asks for XInput 2.2: under 2.0 the server hides raw events that happen during another
// client's grab, such as the release that ends a click on a window.
//
//
//   P <button> <server ms> <monotonic ns>      button press
//   R <button> <server ms> <monotonic ns>      button release
//   K <keycode> <server ms> <monotonic ns>     key press
//   M <window> 0 <monotonic ns> <title>        top-level window mapped
//
// "ready" is printed once the selections are in place. Runs until SIGTERM or SIGINT.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <poll.h>

#include <csignal>
#include <cstdio>
#include <ctime>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

long long MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x_event_log: cannot open the X display\n");
        return 1;
    }
    int xiOpcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &xiOpcode, &firstEvent, &firstError) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        std::fprintf(stderr, "x_event_log: XInput2 is not available\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display, root, &mask, 1);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("ready\n");

    pollfd pfd{ConnectionNumber(display), POLLIN, 0};
    while (g_stop == 0) {
        if (XPending(display) == 0) {
            poll(&pfd, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const long long now = MonotonicNs();
        if (event.type == MapNotify && event.xmap.event == root) {
            char* name = nullptr;
            XFetchName(display, event.xmap.window, &name);
            std::printf("M %lu 0 %lld %s\n", event.xmap.window, now, name != nullptr ? name : "");
            if (name != nullptr) XFree(name);
            continue;
        }
        if (event.type != GenericEvent || event.xcookie.extension != xiOpcode) continue;
        if (!XGetEventData(display, &event.xcookie)) continue;
        const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
        const char kind = event.xcookie.evtype == XI_RawButtonPress     ? 'P'
                          : event.xcookie.evtype == XI_RawButtonRelease ? 'R'
                                                                        : 'K';
        std::printf("%c %d %lu %lld\n", kind, raw->detail, raw->time, now);
        XFreeEventData(display, &event.xcookie);
    }
    XCloseDisplay(display);
    return 0;
}
