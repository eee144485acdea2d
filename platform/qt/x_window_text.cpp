#include "platform/qt/x_window_text.h"

#include <QByteArray>
#include <cstdlib>
#include <cstring>

namespace kestrin::qt {
namespace {

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

void Publish(xcb_connection_t* connection, xcb_window_t window, const char* name,
             const QString& text) {
    if (connection == nullptr || window == XCB_WINDOW_NONE) return;
    const xcb_atom_t property = InternAtom(connection, name);
    const xcb_atom_t utf8 = InternAtom(connection, "UTF8_STRING");
    if (property == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE) return;
    const QByteArray bytes = text.toUtf8();
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, utf8, 8,
                        static_cast<std::uint32_t>(bytes.size()), bytes.constData());
    xcb_flush(connection);
}

}  // namespace

void PublishWindowText(xcb_connection_t* connection, xcb_window_t window, const QString& text) {
    Publish(connection, window, "_KESTRIN_TEXT", text);
}

void PublishControlText(xcb_connection_t* connection, xcb_window_t dialog, int controlId,
                        const QString& text) {
    const QByteArray name = "_KESTRIN_TEXT_" + QByteArray::number(controlId);
    Publish(connection, dialog, name.constData(), text);
}

}  // namespace kestrin::qt
