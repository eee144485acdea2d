// A window that counts the clicks it receives: the end-to-end tests put the pointer over it
// and let Kestrin click. One line per event on stdout:
//
//   ready <window id>               once the window is mapped
//   P <button> <server ms>          ButtonPress
//   R <button> <server ms>          ButtonRelease
//
// Usage: click_target X Y WIDTH HEIGHT. Runs until SIGTERM or SIGINT.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: click_target X Y WIDTH HEIGHT\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "click_target: cannot open the X display\n");
        return 1;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const auto width = static_cast<unsigned>(std::atoi(argv[3]));
    const auto height = static_cast<unsigned>(std::atoi(argv[4]));
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(display, screen);
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    // Placed exactly where asked, with no window manager in the way.
    attributes.override_redirect = True;
    const Window window = XCreateWindow(
        display, RootWindow(display, screen), x, y, width, height, 0, CopyFromParent, InputOutput,
        CopyFromParent, CWBackPixel | CWEventMask | CWOverrideRedirect, &attributes);
    XStoreName(display, window, "click target");
    XMapRaised(display, window);
    XFlush(display);

    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (g_stop == 0) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            switch (event.type) {
                case MapNotify:
                    std::printf("ready %lu\n", window);
                    break;
                case ButtonPress:
                    std::printf("P %u %lu\n", event.xbutton.button, event.xbutton.time);
                    break;
                case ButtonRelease:
                    std::printf("R %u %lu\n", event.xbutton.button, event.xbutton.time);
                    break;
                default:
                    break;
            }
            std::fflush(stdout);
        }
        poll(&fd, 1, 100);
    }
    XCloseDisplay(display);
    return 0;
}
