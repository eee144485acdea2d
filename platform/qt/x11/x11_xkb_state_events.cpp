#include "platform/qt/x11/x11_xkb_state_events.h"

// xkb.h names a structure field "explicit", a C++ keyword.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <cstdint>

namespace kestrin::qt {

void IgnorePointerButtonStateEvents(xcb_connection_t* connection) {
    if (connection == nullptr) return;
    // The state parts are bits 0 (modifier state) to 13 (pointer buttons).
    constexpr std::uint16_t kAllParts = 2 * XCB_XKB_STATE_PART_POINTER_BUTTONS - 1;
    xcb_xkb_select_events_details_t details{};
    details.affectState = kAllParts;
    details.stateDetails = kAllParts & ~XCB_XKB_STATE_PART_POINTER_BUTTONS;
    xcb_xkb_select_events_aux(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_EVENT_TYPE_STATE_NOTIFY,
                              0, 0, 0, 0, &details);
    xcb_flush(connection);
}

}  // namespace kestrin::qt
