// The program's icon and link cursor, from the artwork in res/art (built into the binary).
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <optional>

namespace kestrin::qt {

// The application icon in its 16, 32 and 48 pixel images.
QIcon ApplicationIcon();
// The pointing hand of the About box's link, with the hot spot its file gives.
QCursor LinkCursor();
// Reads a Windows .cur file holding a monochrome image; nullopt when it is not one.
std::optional<QCursor> CursorFromCurFile(const QByteArray& file);

}  // namespace kestrin::qt
