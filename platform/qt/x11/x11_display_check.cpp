#include "platform/qt/x11/x11_display_check.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <memory>

namespace kestrin::qt {

std::optional<std::string> XDisplayProblem() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        return "no X display: DISPLAY is not set (Kestrin needs an X11 or XWayland session)";
    }
    const std::unique_ptr<Display, decltype(&XCloseDisplay)> display(XOpenDisplay(name),
                                                                     &XCloseDisplay);
    if (!display) return "cannot connect to the X display \"" + std::string(name) + "\"";
    return std::nullopt;
}

}  // namespace kestrin::qt
