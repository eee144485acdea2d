// The program's resources: both dialogs as data, the string table, the icon and the cursor.
// The entry point hands them to the framework and the backend.
#pragma once

#include "platform/resources.h"

namespace kestrin::res {

const platform::Resources& ProgramResources();

// The maker's page, which the About box's link opens (a build setting).
std::u16string_view PageUrl();

}  // namespace kestrin::res
