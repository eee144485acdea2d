// Publishes texts on X windows for assistive and automation tools, as Windows lets any
// program read another's window and control texts: a message box's text is the property
// _KESTRIN_TEXT (UTF8_STRING) of its window; a dialog's label with identifier N is the
// property _KESTRIN_TEXT_N of the dialog's window.
#pragma once

#include <xcb/xcb.h>

#include <QByteArray>
#include <QString>
#include <map>

namespace kestrin::qt {

class WindowTextPublisher {
  public:
    explicit WindowTextPublisher(xcb_connection_t* connection) : m_connection(connection) {}

    void WindowText(xcb_window_t window, const QString& text);
    void ControlText(xcb_window_t dialog, int controlId, const QString& text);

  private:
    void Publish(xcb_window_t window, const QByteArray& name, const QString& text);
    // Atoms are looked up once: a label can change at every tick.
    xcb_atom_t Atom(const QByteArray& name);

    xcb_connection_t* m_connection;
    std::map<QByteArray, xcb_atom_t> m_atoms;
};

}  // namespace kestrin::qt
