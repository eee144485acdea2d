// What the program did to the outside world, as the tests read it back.
#include <algorithm>
#include <utility>

#include "tests/sim/sim_window.h"

namespace kestrin::sim {

namespace {

const std::vector<std::u16string> kNoHistory;

}  // namespace

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
