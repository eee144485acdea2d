// Turns a dialog described in res/ into the in-memory DLGTEMPLATEEX that
// CreateDialogIndirectParamW reads.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/dialog_template.h"

namespace kestrin::win32 {

// The template as 16-bit words (the storage keeps the DWORD alignment Windows needs).
// The dialog is made hidden whatever its style says, and of window class `windowClass`;
// list entries are not part of it. Static icons name their icon by resource ordinal.
std::vector<std::uint16_t> BuildDialogTemplate(const platform::DialogTemplate& dialog,
                                               std::u16string_view windowClass);

}  // namespace kestrin::win32
