// Publishes texts on X windows for assistive and automation tools, as Windows lets any
// program read another's window and control texts: a message box's text is the property
// _KESTRIN_TEXT (UTF8_STRING) of its window; a dialog's label with identifier N is the
// property _KESTRIN_TEXT_N of the dialog's window.
#pragma once

#include <xcb/xcb.h>

#include <QString>

namespace kestrin::qt {

void PublishWindowText(xcb_connection_t* connection, xcb_window_t window, const QString& text);
void PublishControlText(xcb_connection_t* connection, xcb_window_t dialog, int controlId,
                        const QString& text);

}  // namespace kestrin::qt
