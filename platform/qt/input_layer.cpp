// Chooses the input layer from the platform Qt runs on. A new display system's layer lives in
// a folder of its own beside x11/ and is added here.
#include "platform/qt/input_layer.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/wayland/wl_input.h"
#include "platform/qt/x11/x11_input.h"

namespace kestrin::qt {
namespace {

std::unique_ptr<InputLayer> Create(QGuiApplication& app, wl::PortalProbe& portal,
                                   InputLayer::HotKeyFired fire, InputLayer::ShowMessage show,
                                   InputLayer::AwaitUser awaitUser) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) return CreateX11Input(app, std::move(fire));
    // "wayland", or one of its variants such as "wayland-egl".
    if (platform.startsWith(QLatin1String("wayland"))) {
        return CreateWaylandInput(portal, std::move(fire), std::move(show), std::move(awaitUser));
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<InputLayer> CreateInputLayer(QGuiApplication& app, wl::PortalProbe& portal,
                                             InputLayer::HotKeyFired fire,
                                             InputLayer::ShowMessage show,
                                             InputLayer::AwaitUser awaitUser) {
    auto layer = Create(app, portal, std::move(fire), std::move(show), std::move(awaitUser));
    // The paths in use, for tests and for finding out why a key or a click does nothing.
    const char* debug = std::getenv("KESTRIN_DEBUG");
    if (debug != nullptr && std::string_view(debug) == "1") {
        std::fprintf(stderr, "kestrin: input: %s\n",
                     layer ? layer->Describe().c_str()
                           : ("none on " + QGuiApplication::platformName().toStdString()).c_str());
    }
    return layer;
}

}  // namespace kestrin::qt
