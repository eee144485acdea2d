// The window class of our dialogs. Its window procedure hands every message of a dialog to
// the dialog's sink (set with Attach once the dialog exists) and leaves the rest to
// DefDlgProcW: the dialog manager's own processing.
#pragma once

#include <windows.h>

namespace kestrin::win32 {

class DialogMessageSink {
  public:
    virtual LRESULT OnDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  protected:
    ~DialogMessageSink() = default;
};

// Registered for the lifetime of the object.
class DialogClass {
  public:
    static constexpr const wchar_t* kName = L"KestrinDialog";

    explicit DialogClass(HINSTANCE instance);
    ~DialogClass();
    DialogClass(const DialogClass&) = delete;
    DialogClass& operator=(const DialogClass&) = delete;

    // From now on the dialog's messages go to `sink`; nullptr detaches it.
    static void Attach(HWND dialog, DialogMessageSink* sink);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE m_instance;
    ATOM m_atom;
};

}  // namespace kestrin::win32
