// What a test does: the script of the user's actions, queued before the program runs, and
// reading back the state of the desktop.
#include <algorithm>
#include <utility>

#include "tests/sim/sim_platform.h"

namespace kestrin::sim {

// --- Script ----------------------------------------------------------------------------

void SimPlatform::Select(int controlId, int index) {
    Then([this, controlId, index] {
        ComboSetCurSel(Control(controlId).id, index);
        Post({Control(controlId).id, wm::LButtonDown, wm::MkLButton, 0});
    });
}

void SimPlatform::PressHotKey(unsigned vk) {
    Then([this, vk] {
        if (const auto it = m_hotKeys.find(vk); it != m_hotKeys.end())
            Post({it->second.first, wm::HotKey, static_cast<std::uintptr_t>(it->second.second), 0});
    });
}

void SimPlatform::PressKey(unsigned vk) {
    Then([this, vk] {
        if (Window* d = ActiveDialog())
            Post({d->focus != WindowId::None ? d->focus : d->id, wm::KeyDown, vk, 0});
    });
}

void SimPlatform::Mouse(unsigned message, Point client, unsigned keyFlags) {
    Then([this, message, client, keyFlags] {
        // The tests point at statics (the link is one), which leave mouse input to the dialog.
        const std::intptr_t packed = (std::intptr_t{client.y & 0xFFFF} << 16) | (client.x & 0xFFFF);
        if (Window* d = ActiveDialog()) Post({d->id, message, keyFlags, packed});
    });
}

void SimPlatform::AnswerMessageBox() {
    Then([this] {
        if (m_boxAnswered.empty()) {
            ++m_unusedAnswers;
        } else {
            m_boxAnswered.back() = true;
        }
    });
}

// --- Reading back ----------------------------------------------------------------------

int SimPlatform::FocusedControl() const {
    const Window& dialog = Find(m_modalStack.empty() ? m_mainWindow : m_modalStack.back());
    return dialog.focus != WindowId::None ? Find(dialog.focus).controlId : 0;
}

bool SimPlatform::IsRunning(int dialogTemplateId) const {
    return std::any_of(m_modalStack.begin(), m_modalStack.end(), [&](WindowId id) {
        return Find(id).templateId == dialogTemplateId && !Find(id).result;
    });
}

Rect SimPlatform::ControlRect(int dialogTemplateId, int controlId) const {
    const Window* newest = nullptr;
    for (const auto& [id, w] : m_windows)
        if (w.parent == WindowId::None && w.templateId == dialogTemplateId) newest = &w;
    if (newest == nullptr) return {};
    const Rect& r = Find(ChildOf(*newest, controlId)).rect;
    return {r.left - newest->rect.left, r.top - newest->rect.top, r.right - newest->rect.left,
            r.bottom - newest->rect.top};
}

std::optional<unsigned> SimPlatform::TimerPeriod() const {
    const auto it = m_timers.find({m_mainWindow, 1});
    return it == m_timers.end() ? std::nullopt : std::optional(it->second.periodMs);
}

}  // namespace kestrin::sim
