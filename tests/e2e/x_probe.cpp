// Looks at and drives an X display from outside, for the end-to-end tests:
//
//   x_probe windows             one line per top-level window:
//                               <id> <viewable 0|1> <x> <y> <w> <h> <override 0|1>
//                               <title>\t<_KESTRIN_TEXT, "\n" escaped>
//   x_probe keys KEY...         presses and releases each key with XTest; a key is a keysym
//                               name, with modifiers joined by "+" (e.g. F3, Return,
//                               alt+space, shift+Tab, ctrl+a)
//   x_probe type TEXT           types ASCII text with XTest
//   x_probe warp X Y            moves the pointer
//   x_probe click BUTTON [MOD]  presses and releases a button with XTest, MOD (ctrl, shift)
//                               held
//   x_probe buttons             the pointer's button state: "1" per held button 1..5, e.g. 00000
//   x_probe close WINDOW        asks the window to close (WM_DELETE_WINDOW), as a close box does
//   x_probe icon-sizes WINDOW   the sizes in the window's _NET_WM_ICON, e.g. "16x16 32x32"
//   x_probe text WINDOW ID      the text of the window's label with identifier ID
//                               (_KESTRIN_TEXT_<ID>), on one line
//   x_probe cursor              the cursor on screen: WIDTHxHEIGHT+HOTX+HOTY
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Windows come and go while we look: an error about one that has just gone is not fatal.
int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

std::string Property(Display* display, Window window, const char* name, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom atom = XInternAtom(display, name, False);
    if (XGetWindowProperty(display, window, atom, 0, 1 << 16, False, type, &actualType, &format,
                           &count, &after, &data) != Success ||
        data == nullptr) {
        return {};
    }
    std::string value(reinterpret_cast<char*>(data), count);
    XFree(data);
    return value;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out;
}

int ListWindows(Display* display) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) == 0) continue;
        std::string title = Property(display, children[i], "_NET_WM_NAME", utf8);
        if (title.empty()) title = Property(display, children[i], "WM_NAME", XA_STRING);
        const std::string text = Property(display, children[i], "_KESTRIN_TEXT", utf8);
        std::printf("%lu %d %d %d %d %d %d %s\t%s\n", children[i],
                    attributes.map_state == IsViewable ? 1 : 0, attributes.x, attributes.y,
                    attributes.width, attributes.height, attributes.override_redirect ? 1 : 0,
                    Escaped(title).c_str(), Escaped(text).c_str());
    }
    if (children != nullptr) XFree(children);
    return 0;
}

KeyCode Code(Display* display, const std::string& name) {
    const KeySym sym = XStringToKeysym(name.c_str());
    return sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
}

bool PressKey(Display* display, const std::string& chord) {
    std::vector<KeyCode> codes;
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = chord.find('+', start);
        std::string part = chord.substr(start, plus == std::string::npos ? plus : plus - start);
        if (part == "alt") part = "Alt_L";
        if (part == "ctrl") part = "Control_L";
        if (part == "shift") part = "Shift_L";
        const KeyCode code = Code(display, part);
        if (code == 0) {
            std::fprintf(stderr, "x_probe: unknown key %s\n", part.c_str());
            return false;
        }
        codes.push_back(code);
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    for (const KeyCode code : codes) XTestFakeKeyEvent(display, code, True, CurrentTime);
    for (auto it = codes.rbegin(); it != codes.rend(); ++it) {
        XTestFakeKeyEvent(display, *it, False, CurrentTime);
    }
    XSync(display, False);
    return true;
}

bool TypeText(Display* display, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        char name[2] = {*c, '\0'};
        std::string key = name;
        if (*c == ' ') key = "space";
        if (*c == '.') key = "period";
        if (*c == '+') key = "plus";
        if (*c == '-') key = "minus";
        if (!PressKey(display, key)) return false;
    }
    return true;
}

int Buttons(Display* display) {
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y,
                  &mask);
    for (const unsigned button :
         {Button1Mask, Button2Mask, Button3Mask, Button4Mask, Button5Mask}) {
        std::putchar((mask & button) != 0 ? '1' : '0');
    }
    std::putchar('\n');
    return 0;
}

int Close(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

int IconSizes(Display* display, Window window) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, 1 << 20,
                           False, XA_CARDINAL, &actualType, &format, &count, &after,
                           &data) != Success ||
        data == nullptr) {
        std::putchar('\n');
        return 0;
    }
    // 32-bit items come as longs: width, height, then width * height pixels, repeated.
    const auto* items = reinterpret_cast<const long*>(data);
    for (unsigned long i = 0; i + 2 <= count;) {
        const long width = items[i];
        const long height = items[i + 1];
        std::printf("%ldx%ld ", width, height);
        i += 2 + static_cast<unsigned long>(width * height);
    }
    std::putchar('\n');
    XFree(data);
    return 0;
}

int PrintCursor(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) return 1;
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (image == nullptr) return 1;
    std::printf("%ux%u+%u+%u\n", image->width, image->height, image->xhot, image->yhot);
    XFree(image);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: x_probe windows|keys|type|warp|click|buttons|close|text|icon-sizes\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x_probe: cannot open the X display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreError);
    const std::string command = argv[1];
    int result = 0;
    if (command == "windows") {
        result = ListWindows(display);
    } else if (command == "keys") {
        for (int i = 2; i < argc && result == 0; ++i) result = PressKey(display, argv[i]) ? 0 : 1;
    } else if (command == "type" && argc == 3) {
        result = TypeText(display, argv[2]) ? 0 : 1;
    } else if (command == "warp" && argc == 4) {
        XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, std::atoi(argv[2]),
                     std::atoi(argv[3]));
        XSync(display, False);
    } else if (command == "click" && (argc == 3 || argc == 4)) {
        const KeyCode modifier =
            argc == 4 ? Code(display, std::strcmp(argv[3], "ctrl") == 0 ? "Control_L" : "Shift_L")
                      : 0;
        if (modifier != 0) XTestFakeKeyEvent(display, modifier, True, CurrentTime);
        const auto button = static_cast<unsigned>(std::atoi(argv[2]));
        XTestFakeButtonEvent(display, button, True, CurrentTime);
        XTestFakeButtonEvent(display, button, False, CurrentTime);
        if (modifier != 0) XTestFakeKeyEvent(display, modifier, False, CurrentTime);
        XSync(display, False);
    } else if (command == "buttons") {
        result = Buttons(display);
    } else if (command == "close" && argc == 3) {
        result = Close(display, std::strtoul(argv[2], nullptr, 0));
    } else if (command == "cursor") {
        result = PrintCursor(display);
    } else if (command == "text" && argc == 4) {
        const std::string name = std::string("_KESTRIN_TEXT_") + argv[3];
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        std::printf(
            "%s\n",
            Property(display, std::strtoul(argv[2], nullptr, 0), name.c_str(), utf8).c_str());
    } else if (command == "icon-sizes" && argc == 3) {
        result = IconSizes(display, std::strtoul(argv[2], nullptr, 0));
    } else {
        std::fprintf(stderr, "x_probe: bad command\n");
        result = 2;
    }
    XCloseDisplay(display);
    return result;
}
