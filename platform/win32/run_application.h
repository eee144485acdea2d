// The framework's entry, reachable from files that include <windows.h> (the framework's own
// headers define Windows-style names and cannot be included next to it).
#pragma once

#include "platform/platform.h"

namespace kestrin::win32 {

// Runs the program on the platform; returns the process's exit code.
int RunProgram(platform::Platform& platform);

}  // namespace kestrin::win32
