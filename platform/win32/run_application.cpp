#include "platform/win32/run_application.h"

#include "platform/framework/cwinapp.h"

namespace kestrin::win32 {

int RunProgram(platform::Platform& platform) {
    return RunApplication(platform);
}

}  // namespace kestrin::win32
