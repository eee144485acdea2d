// kestrin_x_input: real X input for the Wine tests, through the XTEST extension, on $DISPLAY.
//
//   kestrin_x_input move <x> <y>        moves the pointer
//   kestrin_x_input key <keysym name>   presses and releases a key (e.g. F3)
//   kestrin_x_input focus               gives the X focus to the window under the pointer
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

int Move(Display* display, int x, int y) {
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    return 0;
}

int Key(Display* display, const char* name) {
    const KeySym keysym = XStringToKeysym(name);
    const KeyCode keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode(display, keysym);
    if (keycode == 0) {
        std::fprintf(stderr, "no key %s\n", name);
        return 2;
    }
    XTestFakeKeyEvent(display, keycode, True, CurrentTime);
    XTestFakeKeyEvent(display, keycode, False, 20);
    return 0;
}

int Focus(Display* display) {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y,
                  &mask);
    if (child == 0) {
        std::fprintf(stderr, "no window under the pointer\n");
        return 1;
    }
    XSetInputFocus(display, child, RevertToPointerRoot, CurrentTime);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "cannot open display\n");
        return 1;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display.get(), &event, &error, &major, &minor)) return 1;

    int result = 2;
    if (std::strcmp(argv[1], "move") == 0 && argc == 4) {
        result = Move(display.get(), std::atoi(argv[2]), std::atoi(argv[3]));
    } else if (std::strcmp(argv[1], "key") == 0 && argc == 3) {
        result = Key(display.get(), argv[2]);
    } else if (std::strcmp(argv[1], "focus") == 0) {
        result = Focus(display.get());
    }
    XSync(display.get(), False);
    return result;
}
