#include "platform/win32/run_application.h"

#include "platform/framework/cwinapp.h"
#include "res/resources.h"

namespace kestrin::win32 {

int RunProgram(platform::Platform& platform) {
    return RunApplication(platform, res::ProgramResources());
}

}  // namespace kestrin::win32
