#include "platform/qt/x11/x11_window_text.h"

#include <cstdlib>

namespace kestrin::qt {

void WindowTextPublisher::WindowText(xcb_window_t window, const QString& text) {
    Publish(window, "_KESTRIN_TEXT", text);
}

void WindowTextPublisher::ControlText(xcb_window_t dialog, int controlId, const QString& text) {
    Publish(dialog, "_KESTRIN_TEXT_" + QByteArray::number(controlId), text);
}

void WindowTextPublisher::Publish(xcb_window_t window, const QByteArray& name,
                                  const QString& text) {
    if (m_connection == nullptr || window == XCB_WINDOW_NONE) return;
    const xcb_atom_t property = Atom(name);
    const xcb_atom_t utf8 = Atom("UTF8_STRING");
    if (property == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE) return;
    const QByteArray bytes = text.toUtf8();
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, utf8, 8,
                        static_cast<std::uint32_t>(bytes.size()), bytes.constData());
    xcb_flush(m_connection);
}

xcb_atom_t WindowTextPublisher::Atom(const QByteArray& name) {
    if (const auto known = m_atoms.find(name); known != m_atoms.end()) return known->second;
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        m_connection,
        xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(name.size()), name.constData()),
        nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    m_atoms.emplace(name, atom);
    return atom;
}

}  // namespace kestrin::qt
