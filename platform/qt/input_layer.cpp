// Chooses the input layer from the platform Qt runs on. A new display system's layer lives in
// a folder of its own beside x11/ and is added here.
#include "platform/qt/input_layer.h"

#include <QGuiApplication>

#include "platform/qt/x11/x11_input.h"

namespace kestrin::qt {

std::unique_ptr<InputLayer> CreateInputLayer(QGuiApplication& app, InputLayer::HotKeyFired fire) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        return CreateX11Input(app, std::move(fire));
    }
    return nullptr;
}

}  // namespace kestrin::qt
