// The X11 input layer: XTest clicks and the pointer on a connection of their own, global hot
// keys by key grabs on the root window through Qt's connection, and window texts published
// as X properties.
#pragma once

#include <QGuiApplication>
#include <memory>

#include "platform/qt/input_layer.h"

namespace kestrin::qt {

// nullptr when Qt does not run on X11.
std::unique_ptr<InputLayer> CreateX11Input(QGuiApplication& app, InputLayer::HotKeyFired fire);

}  // namespace kestrin::qt
