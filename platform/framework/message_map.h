// Per-class message maps: static tables from window message to handler.
//
//   class CMyDlg : public CDialog { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_TIMER()
//   END_MESSAGE_MAP()
//
// Each ON_ entry binds the handler of the usual name and signature; a class's map is searched
// first, then its base's, then the message goes to default processing.
#pragma once

#include <span>

#include "platform/framework/afxdefs.h"

class CWnd;

struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT commandId;  // WM_COMMAND only: the command identifier to match
    LRESULT (*handler)(CWnd& wnd, const MSG& msg);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*base)();  // nullptr for the root
    std::span<const AFX_MSGMAP_ENTRY> entries;
};

namespace afx_detail {

template <class T>
struct MemberClass;
template <class C, class F>
struct MemberClass<F C::*> {
    using type = C;
};
// The class a member-function pointer belongs to.
template <auto Handler>
using ClassOf = typename MemberClass<decltype(Handler)>::type;

template <auto Handler>
ClassOf<Handler>& Self(CWnd& wnd) {
    // The map that holds this entry belongs to ClassOf<Handler>, and a class's map is only
    // consulted for objects of that class or a class derived from it.
    return static_cast<ClassOf<Handler>&>(wnd);
}

template <auto Handler>
constexpr AFX_MSGMAP_ENTRY Timer() {
    return {WM_TIMER, 0, [](CWnd& w, const MSG& m) -> LRESULT {
                (Self<Handler>(w).*Handler)(m.wParam);
                return 0;
            }};
}
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY SysCommand() {
    return {WM_SYSCOMMAND, 0, [](CWnd& w, const MSG& m) -> LRESULT {
                (Self<Handler>(w).*Handler)(static_cast<UINT>(m.wParam), m.lParam);
                return 0;
            }};
}
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY Paint() {
    return {WM_PAINT, 0, [](CWnd& w, const MSG&) -> LRESULT {
                (Self<Handler>(w).*Handler)();
                return 0;
            }};
}
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY QueryDragIcon() {
    return {WM_QUERYDRAGICON, 0, [](CWnd& w, const MSG&) -> LRESULT {
                return static_cast<LRESULT>((Self<Handler>(w).*Handler)());
            }};
}
template <UINT Message, auto Handler>
constexpr AFX_MSGMAP_ENTRY Mouse() {
    return {Message, 0, [](CWnd& w, const MSG& m) -> LRESULT {
                (Self<Handler>(w).*Handler)(static_cast<UINT>(m.wParam),
                                            CPoint(GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)));
                return 0;
            }};
}
template <UINT Id, auto Handler>
constexpr AFX_MSGMAP_ENTRY Command() {
    return {WM_COMMAND, Id, [](CWnd& w, const MSG&) -> LRESULT {
                (Self<Handler>(w).*Handler)();
                return 0;
            }};
}

}  // namespace afx_detail

#define DECLARE_MESSAGE_MAP()                     \
  protected:                                      \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass = theClass;                     \
        using TheBaseClass = baseClass;                 \
        static constexpr AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                       \
    }                                                                           \
    ;                                                                           \
    static constexpr AFX_MSGMAP map{&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                                \
    }

#define ON_WM_TIMER() afx_detail::Timer<&ThisClass::OnTimer>(),
#define ON_WM_SYSCOMMAND() afx_detail::SysCommand<&ThisClass::OnSysCommand>(),
#define ON_WM_PAINT() afx_detail::Paint<&ThisClass::OnPaint>(),
#define ON_WM_QUERYDRAGICON() afx_detail::QueryDragIcon<&ThisClass::OnQueryDragIcon>(),
#define ON_WM_MOUSEMOVE() afx_detail::Mouse<WM_MOUSEMOVE, &ThisClass::OnMouseMove>(),
#define ON_WM_LBUTTONDOWN() afx_detail::Mouse<WM_LBUTTONDOWN, &ThisClass::OnLButtonDown>(),
#define ON_COMMAND(id, memberFxn) afx_detail::Command<id, &ThisClass::memberFxn>(),
