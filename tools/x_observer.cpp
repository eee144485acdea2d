// x_observer: looks at and drives an X display from outside, as another client would, for the
// end-to-end tests, the Wine tests, the benchmark and the screenshots. One command per run, on
// $DISPLAY:
//
//   windows               one line per top-level window shown: <id> <title>\t<its published
//                         text (_KESTRIN_TEXT), line feeds as \n>
//   property WINDOW NAME  a text property of a window, e.g. _KESTRIN_TEXT_1005
//   key KEY...            presses and releases each key with XTest: a keysym name, with
//                         modifiers joined by "+" (F3, Return, Control_L+a, Alt_L+space)
//   move X Y              moves the pointer
//   focus                 gives the X focus to the top-level window under the pointer
//   close WINDOW          asks the window to close (WM_DELETE_WINDOW), as its close box does
//   watch [X Y W H]       prints "ready", then one line per event until it is killed:
//       P|R|K <button or keycode> <server ms> <monotonic ns>   a button press or release, a
//           key press, as the server received it, whoever sent it (XInput 2.2 raw events;
//           2.0 hides those during another client's grab, e.g. the release ending a click)
//       M <window> 0 <monotonic ns> <title>                    a top-level window mapped
//       p|r <button> <server ms> <monotonic ns>                a press or release received
//           by the target, a window placed at X Y W H when they are given
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Property(Display* display, Window window, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1 << 16, False,
                       AnyPropertyType, &type, &format, &count, &after, &data);
    const std::unique_ptr<unsigned char, decltype(&XFree)> owned(data, &XFree);
    return data != nullptr && format == 8 ? std::string(reinterpret_cast<char*>(data), count) : "";
}

void ListWindows(Display* display) {
    Window root = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &root, &children, &count);
    const std::unique_ptr<Window, decltype(&XFree)> owned(children, &XFree);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, children[i], &attributes);
        if (attributes.map_state != IsViewable) continue;
        std::string text;
        for (const char c : Property(display, children[i], "_KESTRIN_TEXT"))
            text += c == '\n' ? std::string("\\n") : std::string(1, c);
        std::printf("%lu %s\t%s\n", children[i], Property(display, children[i], "WM_NAME").c_str(),
                    text.c_str());
    }
}

bool PressKeys(Display* display, const std::string& chord) {
    std::vector<KeyCode> codes;
    for (std::size_t start = 0; start < chord.size();) {
        const std::size_t plus = std::min(chord.find('+', start + 1), chord.size());
        const std::string name = chord.substr(start, plus - start);
        const KeySym sym = XStringToKeysym(name.c_str());
        codes.push_back(sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym));
        if (codes.back() == 0) {
            std::fprintf(stderr, "x_observer: no key %s\n", name.c_str());
            return false;
        }
        start = plus + 1;
    }
    for (const KeyCode code : codes) XTestFakeKeyEvent(display, code, True, CurrentTime);
    // Released 20 ms later, as a hand would: Wine drops a hot key released at once.
    for (const KeyCode code : codes) XTestFakeKeyEvent(display, code, False, 20);
    return true;
}

Window UnderPointer(Display* display) {
    Window root = 0, child = 0;
    int x = 0;
    unsigned buttons = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &x, &x, &x, &buttons);
    return child;
}

void Close(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
}

Window MapTarget(Display* display, char** geometry) {
    XSetWindowAttributes attributes{};
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask;
    attributes.override_redirect = True;  // exactly where asked, window manager or not
    const Window target =
        XCreateWindow(display, DefaultRootWindow(display), std::atoi(geometry[0]),
                      std::atoi(geometry[1]), static_cast<unsigned>(std::atoi(geometry[2])),
                      static_cast<unsigned>(std::atoi(geometry[3])), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWEventMask | CWOverrideRedirect, &attributes);
    XMapRaised(display, target);
    return target;
}

int Watch(Display* display, char** geometry) {
    int opcode = 0, event = 0, error = 0;
    int major = 2, minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        std::fprintf(stderr, "x_observer: no XInput 2.2\n");
        return 1;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    for (const int type : {XI_RawButtonPress, XI_RawButtonRelease, XI_RawKeyPress})
        XISetMask(bits, type);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    const Window target = geometry != nullptr ? MapTarget(display, geometry) : 0;
    XSync(display, False);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("ready\n");
    for (XEvent e; XNextEvent(display, &e) == 0;) {
        const long long now = std::chrono::steady_clock::now().time_since_epoch().count();
        if (e.type == MapNotify && e.xmap.event == DefaultRootWindow(display)) {
            std::printf("M %lu 0 %lld %s\n", e.xmap.window, now,
                        Property(display, e.xmap.window, "WM_NAME").c_str());
        } else if ((e.type == ButtonPress || e.type == ButtonRelease) &&
                   e.xbutton.window == target) {
            std::printf("%c %u %lu %lld\n", e.type == ButtonPress ? 'p' : 'r', e.xbutton.button,
                        e.xbutton.time, now);
        } else if (e.type == GenericEvent && e.xcookie.extension == opcode &&
                   XGetEventData(display, &e.xcookie)) {
            const auto* raw = static_cast<const XIRawEvent*>(e.xcookie.data);
            const int type = e.xcookie.evtype;
            const char kind = type == XI_RawButtonPress     ? 'P'
                              : type == XI_RawButtonRelease ? 'R'
                                                            : 'K';
            std::printf("%c %d %lu %lld\n", kind, raw->detail, raw->time, now);
            XFreeEventData(display, &e.xcookie);
        }
    }
    return 0;
}

int Run(Display* display, const std::string& command, int argc, char** argv) {
    const auto window = [&] { return std::strtoul(argv[0], nullptr, 0); };
    if (command == "windows" && argc == 0) {
        ListWindows(display);
    } else if (command == "property" && argc == 2) {
        std::printf("%s\n", Property(display, window(), argv[1]).c_str());
    } else if (command == "key" && argc > 0) {
        const auto press = [&](const char* key) { return PressKeys(display, key); };
        if (!std::all_of(argv, argv + argc, press)) return 1;
    } else if (command == "move" && argc == 2) {
        XTestFakeMotionEvent(display, DefaultScreen(display), std::atoi(argv[0]),
                             std::atoi(argv[1]), CurrentTime);
    } else if (command == "focus" && argc == 0) {
        XSetInputFocus(display, UnderPointer(display), RevertToPointerRoot, CurrentTime);
    } else if (command == "close" && argc == 1) {
        Close(display, window());
    } else if (command == "watch" && (argc == 0 || argc == 4)) {
        return Watch(display, argc == 4 ? argv : nullptr);
    } else {
        std::fprintf(stderr, "x_observer: bad command; see x_observer.cpp\n");
        return 2;
    }
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<Display, decltype(&XCloseDisplay)> display(XOpenDisplay(nullptr),
                                                                     &XCloseDisplay);
    if (!display || argc < 2) {
        std::fprintf(stderr, "x_observer: no X display, or no command\n");
        return 2;
    }
    // Windows come and go while we look: an error about one that has just gone is not fatal.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    return Run(display.get(), argv[1], argc - 2, argv + 2);
}
