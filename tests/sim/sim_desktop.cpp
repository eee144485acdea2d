// The desktop: windows, modal loops, message boxes, the timer, hot keys, pointer and mouse.
#include <algorithm>
#include <utility>

#include "tests/sim/sim_window.h"

namespace kestrin::sim {

SimPlatform::SimPlatform() = default;
SimPlatform::~SimPlatform() = default;

// --- Loops -----------------------------------------------------------------------------

bool SimPlatform::Step(bool framework) {
    if (!m_queue.empty()) {
        Message msg = m_queue.front();
        m_queue.pop_front();
        const Window* target = Find(msg.hwnd);
        if (target == nullptr || !target->alive) return true;
        if (framework && Dialog(msg.hwnd)->host->PreTranslate(msg)) return true;
        if (Find(msg.hwnd)->alive) Deliver(msg);
        return true;
    }
    if (!m_script.empty()) {
        auto action = std::move(m_script.front());
        m_script.pop_front();
        action();
        return true;
    }
    return false;
}

void SimPlatform::Deliver(const Message& msg) {
    Window* target = Find(msg.hwnd);
    if (target->parent == WindowId::None) {
        target->host->Dispatch(msg);
        return;
    }
    // The controls' own behaviour.
    if (target->kind == ControlKind::Edit && msg.message == wm::Char) {
        std::u16string text = target->text;
        if (msg.wParam == wm::VkBack) {
            if (!text.empty()) text.pop_back();
        } else {
            text.push_back(static_cast<char16_t>(msg.wParam));
        }
        SetWindowText(target->id, text);
    } else if (target->kind == ControlKind::Button && msg.message == wm::LButtonUp) {
        Find(target->parent)
            ->host->Dispatch(
                {target->parent, wm::Command, static_cast<std::uintptr_t>(target->controlId), 0});
    }
}

int SimPlatform::RunModal(WindowId dialog) {
    Window* d = Find(dialog);
    m_dialogsShown.push_back(d->templateId);
    m_modalStack.push_back(dialog);
    while (!d->ended) {
        if (!Step(true)) {
            // Nothing left to do: the user walks away and closes every dialog.
            m_scriptRanOut = true;
            for (const WindowId open : m_modalStack) EndDialog(open, wm::IdCancel);
        }
    }
    m_modalStack.pop_back();
    m_modalResults.push_back(d->result);
    return d->result;
}

int SimPlatform::MessageBox(WindowId owner, std::u16string_view text, std::u16string_view caption,
                            unsigned type) {
    m_boxes.push_back({std::u16string(text), std::u16string(caption), owner, type, m_now});
    m_boxAnswered.push_back(false);
    const std::size_t level = m_boxAnswered.size();
    // A box left unanswered when the script runs out answers itself.
    while (!m_boxAnswered[level - 1] && Step(false)) {
    }
    m_boxAnswered.pop_back();
    return wm::IdOk;
}

// --- Windows ---------------------------------------------------------------------------

SimPlatform::Window* SimPlatform::Find(WindowId id) {
    const auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

const SimPlatform::Window* SimPlatform::Find(WindowId id) const {
    const auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

SimPlatform::Window* SimPlatform::Dialog(WindowId anyWindow) {
    Window* w = Find(anyWindow);
    return w != nullptr && w->parent != WindowId::None ? Find(w->parent) : w;
}

SimPlatform::Window* SimPlatform::ActiveDialog() {
    return m_modalStack.empty() ? nullptr : Find(m_modalStack.back());
}

const SimPlatform::Window* SimPlatform::MainControl(int controlId) const {
    const Window* main = Find(m_mainWindow);
    if (main == nullptr) return nullptr;
    for (const WindowId child : main->children) {
        if (Find(child)->controlId == controlId) return Find(child);
    }
    return nullptr;
}

SimPlatform::Window* SimPlatform::MainControl(int controlId) {
    return const_cast<Window*>(std::as_const(*this).MainControl(controlId));
}

WindowId SimPlatform::ActiveTarget() {
    Window* dialog = ActiveDialog();
    return dialog->focus != WindowId::None ? dialog->focus : dialog->id;
}

WindowId SimPlatform::CreateDialogWindow(const platform::DialogTemplate& tmpl,
                                         platform::WindowHost& host, WindowId owner) {
    (void)owner;
    const auto dialogId = static_cast<WindowId>(m_nextId++);
    const int offset = 50 * static_cast<int>(m_modalStack.size());
    Window dialog;
    dialog.id = dialogId;
    dialog.host = &host;
    dialog.templateId = tmpl.id;
    dialog.caption = tmpl.caption;
    dialog.style = tmpl.style;
    dialog.rect = {10 + offset, 40 + offset, 10 + offset + MulDiv(tmpl.rect.cx, kBaseX, 4),
                   40 + offset + MulDiv(tmpl.rect.cy, kBaseY, 8)};
    dialog.hasSystemMenu = (tmpl.style & ws::SysMenu) != 0 && !m_noSystemMenu;
    dialog.systemMenu = {
        {0, wm::ScMinimize, u"最小化(&N)"}, {wm::MfSeparator, 0, u""}, {0, wm::ScClose, u"关闭(&C)"}};

    for (const auto& control : tmpl.controls) {
        const bool removed = std::find(m_removedControls.begin(), m_removedControls.end(),
                                       std::pair{tmpl.id, control.id}) != m_removedControls.end();
        if (removed) continue;
        Window child;
        child.id = static_cast<WindowId>(m_nextId++);
        child.parent = dialogId;
        child.controlId = control.id;
        child.kind = control.kind;
        child.style = control.style;
        child.text = control.text;
        const auto& r = control.rect;
        child.rect = {MulDiv(r.x, kBaseX, 4), MulDiv(r.y, kBaseY, 8), MulDiv(r.x + r.cx, kBaseX, 4),
                      MulDiv(r.y + r.cy, kBaseY, 8)};
        dialog.children.push_back(child.id);
        m_windows.emplace(child.id, std::move(child));
    }
    m_windows.emplace(dialogId, std::move(dialog));
    if (m_mainWindow == WindowId::None) m_mainWindow = dialogId;
    return dialogId;
}

void SimPlatform::EndDialog(WindowId dialog, int result) {
    if (Window* d = Find(dialog)) {
        d->ended = true;
        d->result = result;
    }
}

void SimPlatform::DestroyWindow(WindowId window) {
    Window* w = Find(window);
    if (w == nullptr) return;
    w->alive = false;
    for (const WindowId child : w->children) Find(child)->alive = false;
    std::erase_if(m_timers, [&](const auto& t) { return t.first.first == window; });
    std::erase_if(m_hotKeys, [&](const auto& h) { return h.second.first == window; });
    std::erase_if(m_queue, [&](const Message& m) {
        const Window* owner = Dialog(m.hwnd);
        return owner == nullptr || owner->id == window;
    });
}

bool SimPlatform::IsDialogMessage(WindowId dialog, const Message& msg) {
    Window* owner = Dialog(msg.hwnd);
    if (owner == nullptr || owner->id != dialog || msg.message != wm::KeyDown) return false;
    switch (msg.wParam) {
        case wm::VkReturn: {
            int command = wm::IdOk;
            for (const WindowId child : owner->children) {
                const Window* c = Find(child);
                if (c->kind == ControlKind::Button && (c->style & ws::ButtonDefault) != 0) {
                    command = c->controlId;
                }
            }
            owner->host->Dispatch({dialog, wm::Command, static_cast<std::uintptr_t>(command), 0});
            return true;
        }
        case wm::VkEscape:
            owner->host->Dispatch({dialog, wm::Command, wm::IdCancel, 0});
            return true;
        case wm::VkTab: {
            std::vector<WindowId> stops;
            for (const WindowId child : owner->children) {
                if ((Find(child)->style & ws::TabStop) != 0) stops.push_back(child);
            }
            if (stops.empty()) return true;
            const auto at = std::find(stops.begin(), stops.end(), owner->focus);
            owner->focus = (at == stops.end() || at + 1 == stops.end()) ? stops.front() : *(at + 1);
            return true;
        }
        default:
            return false;
    }
}

void SimPlatform::FocusFirstTabStop(WindowId dialog) {
    Window* d = Find(dialog);
    for (const WindowId child : d->children) {
        if ((Find(child)->style & ws::TabStop) != 0) {
            d->focus = child;
            return;
        }
    }
}

std::intptr_t SimPlatform::DefaultProcessing(const Message& msg) {
    if (msg.message == wm::SysCommand && (msg.wParam & 0xFFF0) == wm::ScMinimize) {
        if (Window* w = Find(msg.hwnd)) w->iconic = true;
    }
    if (msg.message == wm::IconEraseBackground) ++m_iconErases;
    return 0;
}

WindowId SimPlatform::GetDlgItem(WindowId dialog, int controlId) {
    const Window* d = Find(dialog);
    if (d == nullptr) return WindowId::None;
    for (const WindowId child : d->children) {
        if (Find(child)->controlId == controlId) return child;
    }
    return WindowId::None;
}

std::u16string SimPlatform::GetWindowText(WindowId window) {
    const Window* w = Find(window);
    return w != nullptr ? w->text : std::u16string();
}

void SimPlatform::SetWindowText(WindowId window, std::u16string_view text) {
    if (Window* w = Find(window)) {
        w->text = text;
        w->textHistory.emplace_back(text);
    }
}

Rect SimPlatform::GetWindowRect(WindowId window) {
    const Window* w = Find(window);
    if (w == nullptr) return {};
    if (w->parent == WindowId::None) return w->rect;
    const Rect& origin = Find(w->parent)->rect;
    return {origin.left + w->rect.left, origin.top + w->rect.top, origin.left + w->rect.right,
            origin.top + w->rect.bottom};
}

Rect SimPlatform::GetClientRect(WindowId window) {
    const Rect r = GetWindowRect(window);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

Point SimPlatform::ScreenToClient(WindowId window, Point screen) {
    const Rect r = GetWindowRect(window);
    return {screen.x - r.left, screen.y - r.top};
}

bool SimPlatform::IsIconic(WindowId window) {
    const Window* w = Find(window);
    return w != nullptr && w->iconic;
}

int SimPlatform::ComboAddString(WindowId combo, std::u16string_view text) {
    Window* w = Find(combo);
    if (w == nullptr) return -1;
    auto at = w->entries.end();
    if ((w->style & ws::ComboSort) != 0) {
        at = std::find_if(w->entries.begin(), w->entries.end(),
                          [&](const std::u16string& e) { return std::u16string_view(e) > text; });
    }
    at = w->entries.emplace(at, text);
    return static_cast<int>(at - w->entries.begin());
}

int SimPlatform::ComboGetCurSel(WindowId combo) {
    const Window* w = Find(combo);
    return w != nullptr ? w->curSel : -1;
}

int SimPlatform::ComboSetCurSel(WindowId combo, int index) {
    Window* w = Find(combo);
    if (w == nullptr) return -1;
    const bool valid = index >= 0 && index < static_cast<int>(w->entries.size());
    w->curSel = valid ? index : -1;
    return w->curSel;
}

// --- Timer, hot keys, pointer, mouse ---------------------------------------------------

bool SimPlatform::SetTimer(WindowId window, std::uintptr_t id, unsigned periodMs) {
    if (Find(window) == nullptr) return false;
    const unsigned period = std::max(periodMs, 1u);
    m_timers[{window, id}] = {period, m_now + period};
    std::erase_if(m_queue, [&](const Message& m) {
        return m.hwnd == window && m.message == wm::Timer && m.wParam == id;
    });
    return true;
}

bool SimPlatform::KillTimer(WindowId window, std::uintptr_t id) {
    std::erase_if(m_queue, [&](const Message& m) {
        return m.hwnd == window && m.message == wm::Timer && m.wParam == id;
    });
    return m_timers.erase({window, id}) != 0;
}

bool SimPlatform::RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned vk) {
    m_hotKeyRegistrations.emplace_back(vk, id);
    const bool failing =
        std::find(m_failingKeys.begin(), m_failingKeys.end(), vk) != m_failingKeys.end();
    if (failing || modifiers != 0 || m_hotKeys.contains(vk)) return false;
    m_hotKeys[vk] = {window, id};
    return true;
}

bool SimPlatform::GetCursorPos(Point& screen) {
    if (m_pointerUnreadable) return false;
    screen = m_pointer;
    return true;
}

bool SimPlatform::SetCursorPos(Point screen) {
    m_pointerWrites.push_back(screen);
    m_pointer = screen;
    return true;
}

void SimPlatform::SendMouseBurst(std::span<const std::uint32_t> flags) {
    m_bursts.push_back({m_now, m_pointer, {flags.begin(), flags.end()}});
}

CursorId SimPlatform::LoadCursor(int resourceId) {
    return static_cast<CursorId>(static_cast<std::uintptr_t>(resourceId));
}

CursorId SimPlatform::SetCursor(CursorId cursor) {
    m_cursorChanges.push_back(cursor);
    return std::exchange(m_cursor, cursor);
}

// --- Icons, painting, menus, shell -----------------------------------------------------

bool SimPlatform::InitCommonControls(std::uint32_t recordSize, std::uint32_t classes) {
    m_commonControls.emplace_back(recordSize, classes);
    return true;
}

IconId SimPlatform::LoadIcon(int resourceId) {
    return static_cast<IconId>(static_cast<std::uintptr_t>(resourceId));
}

void SimPlatform::SetIcon(WindowId window, IconId icon, bool big) {
    if (Window* w = Find(window)) (big ? w->bigIcon : w->smallIcon) = icon;
}

int SimPlatform::GetSystemMetrics(int index) {
    return index == wm::SmCxIcon || index == wm::SmCyIcon ? 32 : 0;
}

platform::PaintId SimPlatform::BeginPaint(WindowId window) {
    return static_cast<platform::PaintId>(static_cast<std::uintptr_t>(window));
}

void SimPlatform::EndPaint(WindowId, platform::PaintId) {}

void SimPlatform::DrawIcon(platform::PaintId, int x, int y, IconId icon) {
    m_drawnIcons.push_back({x, y, icon});
}

platform::MenuId SimPlatform::GetSystemMenu(WindowId window, bool) {
    const Window* w = Find(window);
    if (w == nullptr || !w->hasSystemMenu) return platform::MenuId::None;
    return static_cast<platform::MenuId>(static_cast<std::uintptr_t>(window));
}

bool SimPlatform::AppendMenu(platform::MenuId menu, unsigned flags, std::uintptr_t id,
                             std::u16string_view text) {
    Window* w = Find(static_cast<WindowId>(static_cast<std::uintptr_t>(menu)));
    if (w == nullptr) return false;
    w->systemMenu.push_back({flags, id, std::u16string(text)});
    return true;
}

void SimPlatform::ShellOpen(std::u16string_view address) {
    m_opened.emplace_back(address);
}

}  // namespace kestrin::sim
