// Built without libei: no EIS connection, the portal's NotifyPointerButton serves.
#include "platform/qt/wayland/wl_eis_sender.h"

namespace kestrin::qt::wl {

bool EisSupported() {
    return false;
}

std::unique_ptr<EisSender> CreateEisSender(UniqueFd, EisSender::Events) {
    return nullptr;
}

}  // namespace kestrin::qt::wl
