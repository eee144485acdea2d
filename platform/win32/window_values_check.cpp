// Every value of platform/window_values.h is Windows' own: checked here against the system
// headers, at compile time.
// OCR_NORMAL, the id of IDC_ARROW, needs OEMRESOURCE.
#define OEMRESOURCE
#include <windows.h>
// These build on <windows.h>.
#include <commctrl.h>

#include "platform/window_values.h"

namespace wm = kestrin::wm;

static_assert(wm::Paint == WM_PAINT);
static_assert(wm::Close == WM_CLOSE);
static_assert(wm::IconEraseBackground == WM_ICONERASEBKGND);
static_assert(wm::QueryDragIcon == WM_QUERYDRAGICON);
static_assert(wm::SetIcon == WM_SETICON);
static_assert(wm::KeyDown == WM_KEYDOWN);
static_assert(wm::KeyUp == WM_KEYUP);
static_assert(wm::Char == WM_CHAR);
static_assert(wm::SysKeyDown == WM_SYSKEYDOWN);
static_assert(wm::SysKeyUp == WM_SYSKEYUP);
static_assert(wm::SysChar == WM_SYSCHAR);
static_assert(wm::Command == WM_COMMAND);
static_assert(wm::SysCommand == WM_SYSCOMMAND);
static_assert(wm::Timer == WM_TIMER);
static_assert(wm::MouseMove == WM_MOUSEMOVE);
static_assert(wm::LButtonDown == WM_LBUTTONDOWN);
static_assert(wm::LButtonUp == WM_LBUTTONUP);
static_assert(wm::RButtonDown == WM_RBUTTONDOWN);
static_assert(wm::RButtonUp == WM_RBUTTONUP);
static_assert(wm::MButtonDown == WM_MBUTTONDOWN);
static_assert(wm::MButtonUp == WM_MBUTTONUP);
static_assert(wm::HotKey == WM_HOTKEY);
static_assert(wm::IdOk == IDOK);
static_assert(wm::IdCancel == IDCANCEL);
static_assert(wm::ScMinimize == SC_MINIMIZE);
static_assert(wm::ScClose == SC_CLOSE);
static_assert(wm::VkBack == VK_BACK);
static_assert(wm::VkTab == VK_TAB);
static_assert(wm::VkReturn == VK_RETURN);
static_assert(wm::VkEscape == VK_ESCAPE);
static_assert(wm::VkSpace == VK_SPACE);
static_assert(wm::VkF3 == VK_F3);
static_assert(wm::VkF4 == VK_F4);
static_assert(wm::MkLButton == MK_LBUTTON);
static_assert(wm::MkRButton == MK_RBUTTON);
static_assert(wm::MkShift == MK_SHIFT);
static_assert(wm::MkControl == MK_CONTROL);
static_assert(wm::MkMButton == MK_MBUTTON);
static_assert(wm::ModAlt == MOD_ALT);
static_assert(wm::ModControl == MOD_CONTROL);
static_assert(wm::ModShift == MOD_SHIFT);
static_assert(wm::ModWin == MOD_WIN);
static_assert(wm::MouseLeftDown == MOUSEEVENTF_LEFTDOWN);
static_assert(wm::MouseLeftUp == MOUSEEVENTF_LEFTUP);
static_assert(wm::MouseRightDown == MOUSEEVENTF_RIGHTDOWN);
static_assert(wm::MouseRightUp == MOUSEEVENTF_RIGHTUP);
static_assert(wm::MfString == MF_STRING);
static_assert(wm::MfSeparator == MF_SEPARATOR);
static_assert(wm::MbOk == MB_OK);
static_assert(wm::SmCxIcon == SM_CXICON);
static_assert(wm::SmCyIcon == SM_CYICON);
static_assert(wm::SwShowNormal == SW_SHOWNORMAL);
static_assert(wm::IccWin95Classes == ICC_WIN95_CLASSES);
static_assert(wm::ArrowCursor == OCR_NORMAL);  // the arrow, IDC_ARROW
