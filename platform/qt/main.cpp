// Kestrin on the Linux desktop: Qt 6 Widgets for the windows, the display system's input layer
// for hot keys and clicks.
#include <cstdio>
#include <cstdlib>

#include "platform/framework/cwinapp.h"
#include "platform/qt/kestrin_application.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/x11/x11_display_check.h"
#include "res/resources.h"

int main(int argc, char** argv) {
    // Qt would abort without a display; say so in one line instead.
    if (const auto problem = kestrin::qt::XDisplayProblem()) {
        std::fprintf(stderr, "kestrin: %s\n", problem->c_str());
        return 1;
    }
    // Global hot keys and injected clicks are X11 features: run on X (XWayland on Wayland).
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    kestrin::qt::KestrinApplication app(argc, argv);
    const auto& resources = kestrin::res::ProgramResources();
    kestrin::qt::QtPlatform platform(app, resources);
    return RunApplication(platform, resources);
}
