// The desktop and its clock: windows, modal loops, message boxes, the timer, hot keys,
// pointer and mouse.
#include <algorithm>
#include <utility>

#include "tests/sim/sim_platform.h"

namespace kestrin::sim {

namespace {

namespace ws = platform::style;

// Dialog units to pixels, rounded, with the base units of an 8-point shell font: 6 x 13.
Rect Pixels(const platform::DialogRect& r) {
    const auto x = [](int units) { return (12 * units + 4) / 8; };
    const auto y = [](int units) { return (26 * units + 8) / 16; };
    return {x(r.x), y(r.y), x(r.x + r.cx), y(r.y + r.cy)};
}

Rect Offset(const Rect& r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

// --- Loops and the clock ---------------------------------------------------------------

bool SimPlatform::Step(bool framework) {
    if (!m_queue.empty()) {
        Message msg = m_queue.front();
        m_queue.pop_front();
        if (msg.message == wm::Timer) {
            // Taken from the queue: the timer may queue its next tick (behind this one).
            if (const auto t = m_timers.find({msg.hwnd, msg.wParam}); t != m_timers.end()) {
                t->second.queued = false;
                QueueTick(msg.hwnd, msg.wParam, t->second);
            }
        }
        Window& dialog = Dialog(msg.hwnd);
        if (framework && dialog.host->PreTranslate(msg)) return true;
        // Controls do nothing of their own with the messages tests send them.
        if (msg.hwnd == dialog.id) dialog.host->Dispatch(msg);
        return true;
    }
    if (m_script.empty()) return false;
    auto action = std::move(m_script.front());
    m_script.pop_front();
    action();
    return true;
}

int SimPlatform::RunModal(WindowId dialog) {
    m_modalStack.push_back(dialog);
    while (!Find(dialog).result) {
        if (!Step(true)) {
            // Nothing left to do: the user walks away and closes every dialog.
            m_scriptRanOut = true;
            for (const WindowId open : m_modalStack) EndDialog(open, wm::IdCancel);
        }
    }
    m_modalStack.pop_back();
    return *Find(dialog).result;
}

int SimPlatform::MessageBox(WindowId, std::u16string_view text, std::u16string_view caption,
                            unsigned) {
    records.boxTexts.emplace_back(text);
    records.boxCaptions.emplace_back(caption);
    m_boxAnswered.push_back(false);
    // A box left unanswered when the script runs out answers itself. A box opened inside
    // this one has gone again before this loop looks at its own answer.
    while (!m_boxAnswered.back() && Step(false)) {
    }
    m_boxAnswered.pop_back();
    return wm::IdOk;
}

void SimPlatform::AdvanceTo(std::int64_t target) {
    const auto next = std::min_element(m_timers.begin(), m_timers.end(), [](auto& a, auto& b) {
        return a.second.NextDueMs() < b.second.NextDueMs();
    });
    if (next == m_timers.end() || next->second.NextDueMs() > target) {
        m_now = std::max(m_now, target);
        return;
    }
    // The timer wakes at its due time, or now when a stall has kept it from waking.
    Timer& timer = next->second;
    m_now = std::max(m_now, timer.NextDueMs());
    const std::int64_t periods = (m_now - timer.startMs) / timer.periodMs;
    timer.pacer.Woke(static_cast<std::uint64_t>(periods - timer.periods));
    timer.periods = periods;
    QueueTick(next->first.first, next->first.second, timer);
    // The rest of the advance runs once the loop has handled what is queued, so a tick is
    // late here only after a stall.
    m_script.push_front([this, target] { AdvanceTo(target); });
}

void SimPlatform::QueueTick(WindowId window, std::uintptr_t id, Timer& timer) {
    if (timer.queued || !timer.pacer.Take()) return;
    timer.queued = true;
    Post({window, wm::Timer, id, 0});
}

// --- Windows ---------------------------------------------------------------------------

Window& SimPlatform::Dialog(WindowId anyWindow) {
    Window& w = Find(anyWindow);
    return w.parent != WindowId::None ? Find(w.parent) : w;
}

Window* SimPlatform::ActiveDialog() {
    if (m_modalStack.empty() || !m_boxAnswered.empty()) return nullptr;
    return &Find(m_modalStack.back());
}

WindowId SimPlatform::ChildOf(const Window& dialog, int controlId) const {
    for (const WindowId child : dialog.children)
        if (Find(child).controlId == controlId) return child;
    return WindowId::None;
}

WindowId SimPlatform::CreateDialogWindow(const platform::DialogTemplate& tmpl,
                                         platform::WindowHost& host, WindowId) {
    const auto dialogId = static_cast<WindowId>(m_windows.size() + 1);
    Window& dialog = m_windows[dialogId];
    dialog.id = dialogId;
    dialog.host = &host;
    dialog.templateId = tmpl.id;
    dialog.style = tmpl.style;
    // Each dialog opens a little below and right of the one it runs over.
    const int offset = 50 * static_cast<int>(m_modalStack.size());
    dialog.rect = Offset(Pixels({0, 0, tmpl.rect.cx, tmpl.rect.cy}), 10 + offset, 40 + offset);
    for (const auto& control : tmpl.controls) {
        const auto childId = static_cast<WindowId>(m_windows.size() + 1);
        Window& child = m_windows[childId];
        child.id = childId;
        child.parent = dialogId;
        child.controlId = control.id;
        child.style = control.style;
        child.text = control.text;
        child.rect = Offset(Pixels(control.rect), dialog.rect.left, dialog.rect.top);
        dialog.children.push_back(childId);
    }
    if (m_mainWindow == WindowId::None) m_mainWindow = dialogId;
    return dialogId;
}

void SimPlatform::DestroyWindow(WindowId window) {
    // Its timers, hot keys and queued messages go with it; the window stays readable.
    std::erase_if(m_timers, [&](const auto& t) { return t.first.first == window; });
    std::erase_if(m_hotKeys, [&](const auto& h) { return h.second.first == window; });
    std::erase_if(m_queue, [&](const Message& m) { return Dialog(m.hwnd).id == window; });
}

bool SimPlatform::IsDialogMessage(WindowId dialog, const Message& msg) {
    Window& d = Dialog(msg.hwnd);
    if (d.id != dialog || msg.message != wm::KeyDown) return false;
    switch (msg.wParam) {
        case wm::VkReturn:  // the default button, OK in both dialogs
            d.host->Dispatch({dialog, wm::Command, wm::IdOk, 0});
            return true;
        case wm::VkEscape:
            d.host->Dispatch({dialog, wm::Command, wm::IdCancel, 0});
            return true;
        case wm::VkTab: {
            // The next tab stop in creation order, after the last the first.
            const auto& c = d.children;
            const auto at = std::find(c.begin(), c.end(), d.focus);
            const std::size_t from = at != c.end() ? at - c.begin() : c.size() - 1;
            for (std::size_t i = 1; i <= c.size(); ++i) {
                const WindowId next = c[(from + i) % c.size()];
                if ((Find(next).style & ws::TabStop) != 0) {
                    d.focus = next;
                    break;
                }
            }
            return true;
        }
        default:
            return false;
    }
}

void SimPlatform::FocusFirstTabStop(WindowId dialog) {
    // From no focus, Tab finds the first tab stop.
    Find(dialog).focus = WindowId::None;
    IsDialogMessage(dialog, {dialog, wm::KeyDown, wm::VkTab, 0});
}

std::intptr_t SimPlatform::DefaultProcessing(const Message& msg) {
    if (msg.message == wm::SysCommand && (msg.wParam & 0xFFF0) == wm::ScMinimize) {
        // The window is minimised and repaints.
        Find(msg.hwnd).iconic = true;
        Post({msg.hwnd, wm::Paint, 0, 0});
    }
    if (msg.message == wm::IconEraseBackground) ++records.iconErases;
    return 0;
}

void SimPlatform::SetWindowText(WindowId window, std::u16string_view text) {
    Find(window).text = text;
    Find(window).textHistory.emplace_back(text);
}

Rect SimPlatform::GetClientRect(WindowId window) {
    const Rect r = GetWindowRect(window);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

int SimPlatform::ComboAddString(WindowId combo, std::u16string_view text) {
    auto& entries = Find(combo).entries;
    auto at = entries.end();
    if ((Find(combo).style & ws::ComboSort) != 0)
        at = std::find_if(entries.begin(), entries.end(), [&](auto& e) { return e > text; });
    return static_cast<int>(entries.emplace(at, text) - entries.begin());
}

int SimPlatform::ComboSetCurSel(WindowId combo, int index) {
    Window& w = Find(combo);
    w.curSel = index >= 0 && index < static_cast<int>(w.entries.size()) ? index : -1;
    return w.curSel;
}

// --- Timer, hot keys, pointer, mouse ---------------------------------------------------

bool SimPlatform::SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) {
    KillTimer(window, id);
    m_timers.insert_or_assign({window, id}, Timer{std::max(periodMs, 1u), m_now});
    return true;
}

bool SimPlatform::KillTimer(WindowId window, std::uintptr_t id) {
    // A tick it had queued goes too.
    std::erase_if(m_queue, [&](const Message& m) {
        return m.hwnd == window && m.message == wm::Timer && m.wParam == id;
    });
    return m_timers.erase({window, id}) != 0;
}

bool SimPlatform::RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) {
    // Only plain keys can be pressed here: a key with modifiers fails, for a test to see.
    if (std::ranges::count(m_failingKeys, vk) != 0 || modifiers != 0 || m_hotKeys.contains(vk)) {
        return false;
    }
    m_hotKeys[vk] = {window, id};
    return true;
}

bool SimPlatform::GetCursorPos(Point& screen) {
    if (m_pointerUnreadable) return false;
    screen = m_pointer;
    return true;
}

bool SimPlatform::SetCursorPos(Point screen) {
    m_pointer = screen;
    return true;
}

CursorId SimPlatform::SetCursor(CursorId cursor) {
    records.cursors.push_back(cursor);
    return std::exchange(m_cursor, cursor);
}

// --- Icons, painting, menus ------------------------------------------------------------

// A window's system menu is known by the window's number.
platform::MenuId SimPlatform::GetSystemMenu(WindowId window, bool) {
    if ((Find(window).style & ws::SysMenu) == 0) return platform::MenuId::None;
    return static_cast<platform::MenuId>(window);
}

bool SimPlatform::AppendMenu(platform::MenuId menu, unsigned flags, std::uintptr_t id,
                             std::u16string_view text) {
    Find(static_cast<WindowId>(menu)).systemMenu.push_back({flags, id, std::u16string(text)});
    return true;
}

}  // namespace kestrin::sim
