// Kestrin on the Linux desktop: Qt 6 Widgets for the windows, X11 for hot keys and clicks.
#include <cstdio>
#include <cstdlib>

#include "platform/framework/cwinapp.h"
#include "platform/qt/display_check.h"
#include "platform/qt/kestrin_application.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char** argv) {
    // Qt would abort without a display; say so in one line instead.
    if (const auto problem = kestrin::qt::XDisplayProblem()) {
        std::fprintf(stderr, "kestrin: %s\n", problem->c_str());
        return 1;
    }
    // Global hot keys and injected clicks are X11 features: run on X (XWayland on Wayland).
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    kestrin::qt::KestrinApplication app(argc, argv);
    kestrin::qt::QtPlatform platform(app);
    return RunApplication(platform);
}
