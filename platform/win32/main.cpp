// The Windows program's entry point.
#include <windows.h>
// This builds on <windows.h>.
#include <objbase.h>

#include "platform/win32/run_application.h"
#include "platform/win32/win32_platform.h"

namespace {

// The shell's ShellExecuteW wants COM on the calling thread.
class ComApartment {
  public:
    ComApartment()
        : m_initialised(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (m_initialised) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool m_initialised;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ComApartment com;
    kestrin::win32::Win32Platform platform(instance);
    return kestrin::win32::RunProgram(platform);
}
