// The program's two dialogs as data, and its string table.
#pragma once

#include <string_view>

#include "platform/dialog_template.h"

namespace kestrin::res {

// The dialog template with this identifier, or nullptr.
const platform::DialogTemplate* FindDialog(int id);

// The string with this identifier, empty when there is none.
std::u16string_view FindString(int id);

}  // namespace kestrin::res
