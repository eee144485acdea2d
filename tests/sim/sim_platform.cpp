#include "tests/sim/sim_platform.h"

#include <algorithm>
#include <utility>

namespace kestrin::sim {
namespace {

using platform::ControlKind;
using platform::Rect;
namespace ws = platform::style;

// Message numbers and values the simulated desktop produces; Windows' values.
constexpr unsigned kWmPaint = 0x000F;
constexpr unsigned kWmIconEraseBkgnd = 0x0027;
constexpr unsigned kWmKeyDown = 0x0100;
constexpr unsigned kWmChar = 0x0102;
constexpr unsigned kWmCommand = 0x0111;
constexpr unsigned kWmSysCommand = 0x0112;
constexpr unsigned kWmTimer = 0x0113;
constexpr unsigned kWmMouseMove = 0x0200;
constexpr unsigned kWmLButtonDown = 0x0201;
constexpr unsigned kWmLButtonUp = 0x0202;
constexpr unsigned kWmHotKey = 0x0312;
constexpr unsigned kVkTab = 0x09;
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkEscape = 0x1B;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr unsigned kScMinimize = 0xF020;
constexpr unsigned kScClose = 0xF060;
constexpr unsigned kMfSeparator = 0x0800;
constexpr int kSmCxIcon = 11;
constexpr int kSmCyIcon = 12;

// Dialog base units of an 8-point shell font: 6 x 13 pixels.
constexpr int kBaseX = 6;
constexpr int kBaseY = 13;

int MulDiv(int a, int b, int c) {
    return (2 * a * b + c) / (2 * c);
}

std::intptr_t PackPoint(Point p) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(p.y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(p.x & 0xFFFF));
}

bool Inside(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

const std::vector<std::u16string> kNoHistory;

}  // namespace

struct SimPlatform::Window {
    WindowId id = WindowId::None;
    WindowId parent = WindowId::None;  // None for dialogs
    platform::WindowHost* host = nullptr;
    int templateId = 0;
    std::u16string caption;
    int controlId = 0;
    ControlKind kind = ControlKind::Static;
    std::uint32_t style = 0;
    std::u16string text;
    std::vector<std::u16string> textHistory;
    std::vector<std::u16string> entries;
    int curSel = -1;
    Rect rect;  // dialogs: client area in screen pixels; controls: in the dialog's client area
    bool alive = true;
    bool ended = false;
    int result = 0;
    bool iconic = false;
    IconId bigIcon = IconId::None;
    IconId smallIcon = IconId::None;
    bool hasSystemMenu = false;
    std::vector<MenuItem> systemMenu;
    WindowId focus = WindowId::None;
    std::vector<WindowId> children;  // in creation (tab) order
};

SimPlatform::SimPlatform() = default;
SimPlatform::~SimPlatform() = default;

// --- Script ----------------------------------------------------------------------------

void SimPlatform::Then(std::function<void()> action) {
    m_script.push_back(std::move(action));
}

void SimPlatform::SetText(int controlId, std::u16string text) {
    Then([this, controlId, text] {
        if (Window* w = MainControl(controlId)) SetWindowText(w->id, text);
    });
}

void SimPlatform::Type(int controlId, std::u16string text) {
    Then([this, controlId, text] {
        Window* w = MainControl(controlId);
        if (w == nullptr || !m_boxAnswered.empty()) return;
        Dialog(w->id)->focus = w->id;
        for (const char16_t c : text) Post({w->id, kWmChar, c, 0});
    });
}

void SimPlatform::Select(int controlId, int index) {
    Then([this, controlId, index] {
        Window* w = MainControl(controlId);
        if (w == nullptr || !m_boxAnswered.empty()) return;
        ComboSetCurSel(w->id, index);
        Post({w->id, kWmLButtonDown, 1, 0});
    });
}

void SimPlatform::PressHotKey(unsigned vk) {
    Then([this, vk] {
        const auto it = m_hotKeys.find(vk);
        if (it != m_hotKeys.end()) {
            Post({it->second.first, kWmHotKey, static_cast<std::uintptr_t>(it->second.second), 0});
        }
    });
}

void SimPlatform::PressKey(unsigned vk) {
    Then([this, vk] {
        if (!m_boxAnswered.empty()) {
            // The message box has the keyboard: Enter or Esc presses its OK.
            if (vk == kVkReturn || vk == kVkEscape) m_boxAnswered.back() = true;
            return;
        }
        if (ActiveDialog() != nullptr) Post({ActiveTarget(), kWmKeyDown, vk, 0});
    });
}

void SimPlatform::MouseMove(Point client, unsigned keyFlags) {
    Then([this, client, keyFlags] {
        Window* dialog = ActiveDialog();
        if (dialog == nullptr || !m_boxAnswered.empty()) return;
        m_pointer = {dialog->rect.left + client.x, dialog->rect.top + client.y};
        Post({dialog->id, kWmMouseMove, keyFlags, PackPoint(client)});
    });
}

void SimPlatform::LButtonDown(Point client, unsigned keyFlags) {
    Then([this, client, keyFlags] {
        Window* dialog = ActiveDialog();
        if (dialog == nullptr || !m_boxAnswered.empty()) return;
        m_pointer = {dialog->rect.left + client.x, dialog->rect.top + client.y};
        // Statics without the notify style let mouse messages through to the dialog.
        for (const WindowId childId : dialog->children) {
            const Window* child = Find(childId);
            if (child->alive && child->kind != ControlKind::Static &&
                child->kind != ControlKind::StaticIcon && child->kind != ControlKind::GroupBox &&
                Inside(child->rect, client)) {
                const Point local{client.x - child->rect.left, client.y - child->rect.top};
                Post({child->id, kWmLButtonDown, keyFlags, PackPoint(local)});
                return;
            }
        }
        Post({dialog->id, kWmLButtonDown, keyFlags, PackPoint(client)});
    });
}

void SimPlatform::ClickButton(int controlId) {
    Then([this, controlId] {
        Window* dialog = ActiveDialog();
        if (dialog == nullptr || !m_boxAnswered.empty()) return;
        const WindowId button = GetDlgItem(dialog->id, controlId);
        if (button == WindowId::None) return;
        Post({button, kWmLButtonDown, 1, 0});
        Post({button, kWmLButtonUp, 0, 0});
    });
}

void SimPlatform::ClickCloseBox() {
    Then([this] {
        if (Window* dialog = ActiveDialog(); dialog != nullptr && m_boxAnswered.empty()) {
            Post({dialog->id, kWmSysCommand, kScClose, 0});
        }
    });
}

void SimPlatform::SystemCommand(unsigned command) {
    Then([this, command] {
        if (m_boxAnswered.empty()) Post({m_mainWindow, kWmSysCommand, command, 0});
    });
}

void SimPlatform::Minimise() {
    Then([this] {
        if (Window* main = Find(m_mainWindow)) {
            main->iconic = true;
            Post({m_mainWindow, kWmPaint, 0, 0});
        }
    });
}

void SimPlatform::MovePointer(Point screen) {
    Then([this, screen] { m_pointer = screen; });
}

void SimPlatform::Advance(std::int64_t ms) {
    Then([this, ms] { AdvanceTo(m_now + ms); });
}

void SimPlatform::AdvanceTo(std::int64_t target) {
    auto next = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second.dueMs <= target &&
            (next == m_timers.end() || it->second.dueMs < next->second.dueMs)) {
            next = it;
        }
    }
    if (next == m_timers.end()) {
        m_now = target;
        return;
    }
    m_now = next->second.dueMs;
    next->second.dueMs += next->second.periodMs;
    const WindowId window = next->first.first;
    const std::uintptr_t id = next->first.second;
    const bool pending = std::any_of(m_queue.begin(), m_queue.end(), [&](const Message& m) {
        return m.hwnd == window && m.message == kWmTimer && m.wParam == id;
    });
    if (!pending) Post({window, kWmTimer, id, 0});  // a tick is never queued twice
    // The rest of the advance runs after the loop has handled this tick.
    m_script.push_front([this, target] { AdvanceTo(target); });
}

void SimPlatform::AnswerMessageBox() {
    Then([this] {
        if (m_boxAnswered.empty()) {
            ++m_unexpectedAnswers;
        } else {
            m_boxAnswered.back() = true;
        }
    });
}

void SimPlatform::RemoveControl(int dialogTemplateId, int controlId) {
    m_removedControls.emplace_back(dialogTemplateId, controlId);
}

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
    if (target->kind == ControlKind::Edit && msg.message == kWmChar) {
        std::u16string text = target->text;
        if (msg.wParam == 0x08) {
            if (!text.empty()) text.pop_back();
        } else {
            text.push_back(static_cast<char16_t>(msg.wParam));
        }
        SetWindowText(target->id, text);
    } else if (target->kind == ControlKind::Button && msg.message == kWmLButtonUp) {
        Find(target->parent)
            ->host->Dispatch(
                {target->parent, kWmCommand, static_cast<std::uintptr_t>(target->controlId), 0});
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
            for (const WindowId open : m_modalStack) EndDialog(open, kIdCancel);
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
    return kIdOk;
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
        {0, kScMinimize, u"最小化(&N)"}, {kMfSeparator, 0, u""}, {0, kScClose, u"关闭(&C)"}};

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
    if (owner == nullptr || owner->id != dialog || msg.message != kWmKeyDown) return false;
    switch (msg.wParam) {
        case kVkReturn: {
            int command = kIdOk;
            for (const WindowId child : owner->children) {
                const Window* c = Find(child);
                if (c->kind == ControlKind::Button && (c->style & ws::ButtonDefault) != 0) {
                    command = c->controlId;
                }
            }
            owner->host->Dispatch({dialog, kWmCommand, static_cast<std::uintptr_t>(command), 0});
            return true;
        }
        case kVkEscape:
            owner->host->Dispatch({dialog, kWmCommand, kIdCancel, 0});
            return true;
        case kVkTab: {
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
    m_defaultProcessed.push_back(msg.message);
    if (msg.message == kWmSysCommand && (msg.wParam & 0xFFF0) == kScMinimize) {
        if (Window* w = Find(msg.hwnd)) w->iconic = true;
    }
    if (msg.message == kWmIconEraseBkgnd) ++m_iconErases;
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
        return m.hwnd == window && m.message == kWmTimer && m.wParam == id;
    });
    return true;
}

bool SimPlatform::KillTimer(WindowId window, std::uintptr_t id) {
    std::erase_if(m_queue, [&](const Message& m) {
        return m.hwnd == window && m.message == kWmTimer && m.wParam == id;
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
    ++m_pointerReads;
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
    return index == kSmCxIcon || index == kSmCyIcon ? 32 : 0;
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

// --- Records ---------------------------------------------------------------------------

std::vector<std::uint32_t> SimPlatform::MouseEvents() const {
    std::vector<std::uint32_t> all;
    for (const auto& burst : m_bursts)
        all.insert(all.end(), burst.flags.begin(), burst.flags.end());
    return all;
}

std::vector<std::u16string> SimPlatform::MessageBoxTexts() const {
    std::vector<std::u16string> texts;
    for (const auto& box : m_boxes) texts.push_back(box.text);
    return texts;
}

std::u16string SimPlatform::Text(int controlId) const {
    const Window* w = MainControl(controlId);
    return w != nullptr ? w->text : std::u16string();
}

const std::vector<std::u16string>& SimPlatform::TextHistory(int controlId) const {
    const Window* w = MainControl(controlId);
    return w != nullptr ? w->textHistory : kNoHistory;
}

std::vector<std::u16string> SimPlatform::Entries(int controlId) const {
    const Window* w = MainControl(controlId);
    return w != nullptr ? w->entries : std::vector<std::u16string>();
}

int SimPlatform::Selection(int controlId) const {
    const Window* w = MainControl(controlId);
    return w != nullptr ? w->curSel : -1;
}

int SimPlatform::FocusedControl() const {
    if (m_modalStack.empty()) {
        const Window* main = Find(m_mainWindow);
        const Window* focus = main != nullptr ? Find(main->focus) : nullptr;
        return focus != nullptr ? focus->controlId : 0;
    }
    const Window* dialog = Find(m_modalStack.back());
    const Window* focus = Find(dialog->focus);
    return focus != nullptr ? focus->controlId : 0;
}

std::vector<MenuItem> SimPlatform::SystemMenu() const {
    const Window* main = Find(m_mainWindow);
    return main != nullptr ? main->systemMenu : std::vector<MenuItem>();
}

IconId SimPlatform::Icon(bool big) const {
    const Window* main = Find(m_mainWindow);
    if (main == nullptr) return IconId::None;
    return big ? main->bigIcon : main->smallIcon;
}

std::optional<unsigned> SimPlatform::TimerPeriod(std::uintptr_t id) const {
    const auto it = m_timers.find({m_mainWindow, id});
    if (it == m_timers.end()) return std::nullopt;
    return it->second.periodMs;
}

bool SimPlatform::IsRunning(int dialogTemplateId) const {
    return std::any_of(m_modalStack.begin(), m_modalStack.end(), [&](WindowId id) {
        const Window* d = Find(id);
        return d->templateId == dialogTemplateId && !d->ended;
    });
}

Rect SimPlatform::ControlRect(int dialogTemplateId, int controlId) const {
    const Window* newest = nullptr;
    for (const auto& [id, w] : m_windows) {
        if (w.parent == WindowId::None && w.templateId == dialogTemplateId) newest = &w;
    }
    if (newest == nullptr) return {};
    for (const WindowId child : newest->children) {
        if (Find(child)->controlId == controlId) return Find(child)->rect;
    }
    return {};
}

std::u16string SimPlatform::Caption(WindowId window) const {
    const Window* w = Find(window);
    return w != nullptr ? w->caption : std::u16string();
}

}  // namespace kestrin::sim
