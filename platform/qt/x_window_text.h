// Publishes a window's text on its X window, for assistive and automation tools: the
// property _KESTRIN_TEXT (UTF8_STRING). Message boxes carry their text there.
#pragma once

#include <xcb/xcb.h>

#include <QString>

namespace kestrin::qt {

void PublishWindowText(xcb_connection_t* connection, xcb_window_t window, const QString& text);

}  // namespace kestrin::qt
