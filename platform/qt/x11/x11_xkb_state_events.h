// Keeps pointer-button changes out of the XKB state events Qt listens to.
#pragma once

#include <xcb/xcb.h>

namespace kestrin::qt {

// Every button press or release anywhere on the display changes the XKB state's button
// part, and Qt asks for every part: at 1000 double clicks a second that is 4000 events a
// second waking Qt's threads for nothing. Qt needs only the modifier and group parts.
void IgnorePointerButtonStateEvents(xcb_connection_t* connection);

}  // namespace kestrin::qt
