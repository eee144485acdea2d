// Every button press and release and every key press the X server receives, whoever sent
// it and whichever window it goes to: XInput 2.2 raw events on the root (2.0 would hide the
// raw events that happen during another client's grab, such as the release that ends a
// click on a window). One line per event on stdout:
//
//   ready                       once the selection is in place
//   P <button> <server ms>      button press
//   R <button> <server ms>      button release
//   K <keycode> <server ms>     key press
//
// Runs until SIGTERM or SIGINT.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <poll.h>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "raw_buttons: cannot open the X display\n");
        return 1;
    }
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        std::fprintf(stderr, "raw_buttons: XInput 2.1 or later is not available\n");
        return 1;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);

    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("ready\n");
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (g_stop == 0) {
        if (XPending(display) == 0) {
            poll(&fd, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != GenericEvent || event.xcookie.extension != opcode) continue;
        if (!XGetEventData(display, &event.xcookie)) continue;
        const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
        const char kind = event.xcookie.evtype == XI_RawButtonPress     ? 'P'
                          : event.xcookie.evtype == XI_RawButtonRelease ? 'R'
                                                                        : 'K';
        std::printf("%c %d %lu\n", kind, raw->detail, raw->time);
        XFreeEventData(display, &event.xcookie);
    }
    XCloseDisplay(display);
    return 0;
}
