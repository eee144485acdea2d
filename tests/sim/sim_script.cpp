// The script: the user's actions and the clock, queued before the program runs.
#include <algorithm>
#include <utility>

#include "tests/sim/sim_window.h"

namespace kestrin::sim {

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
        for (const char16_t c : text) Post({w->id, wm::Char, c, 0});
    });
}

void SimPlatform::Select(int controlId, int index) {
    Then([this, controlId, index] {
        Window* w = MainControl(controlId);
        if (w == nullptr || !m_boxAnswered.empty()) return;
        ComboSetCurSel(w->id, index);
        Post({w->id, wm::LButtonDown, 1, 0});
    });
}

void SimPlatform::PressHotKey(unsigned vk) {
    Then([this, vk] {
        const auto it = m_hotKeys.find(vk);
        if (it != m_hotKeys.end()) {
            Post({it->second.first, wm::HotKey, static_cast<std::uintptr_t>(it->second.second), 0});
        }
    });
}

void SimPlatform::PressKey(unsigned vk) {
    Then([this, vk] {
        if (!m_boxAnswered.empty()) {
            // The message box has the keyboard: Enter or Esc presses its OK.
            if (vk == wm::VkReturn || vk == wm::VkEscape) m_boxAnswered.back() = true;
            return;
        }
        if (ActiveDialog() != nullptr) Post({ActiveTarget(), wm::KeyDown, vk, 0});
    });
}

void SimPlatform::MouseMove(Point client, unsigned keyFlags) {
    Then([this, client, keyFlags] {
        Window* dialog = ActiveDialog();
        if (dialog == nullptr || !m_boxAnswered.empty()) return;
        m_pointer = {dialog->rect.left + client.x, dialog->rect.top + client.y};
        Post({dialog->id, wm::MouseMove, keyFlags, PackPoint(client)});
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
                Post({child->id, wm::LButtonDown, keyFlags, PackPoint(local)});
                return;
            }
        }
        Post({dialog->id, wm::LButtonDown, keyFlags, PackPoint(client)});
    });
}

void SimPlatform::ClickButton(int controlId) {
    Then([this, controlId] {
        Window* dialog = ActiveDialog();
        if (dialog == nullptr || !m_boxAnswered.empty()) return;
        const WindowId button = GetDlgItem(dialog->id, controlId);
        if (button == WindowId::None) return;
        Post({button, wm::LButtonDown, 1, 0});
        Post({button, wm::LButtonUp, 0, 0});
    });
}

void SimPlatform::ClickCloseBox() {
    Then([this] {
        if (Window* dialog = ActiveDialog(); dialog != nullptr && m_boxAnswered.empty()) {
            Post({dialog->id, wm::SysCommand, wm::ScClose, 0});
        }
    });
}

void SimPlatform::SystemCommand(unsigned command) {
    Then([this, command] {
        if (m_boxAnswered.empty()) Post({m_mainWindow, wm::SysCommand, command, 0});
    });
}

void SimPlatform::Minimise() {
    Then([this] {
        if (Window* main = Find(m_mainWindow)) {
            main->iconic = true;
            Post({m_mainWindow, wm::Paint, 0, 0});
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
        return m.hwnd == window && m.message == wm::Timer && m.wParam == id;
    });
    if (!pending) Post({window, wm::Timer, id, 0});  // a tick is never queued twice
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

}  // namespace kestrin::sim
