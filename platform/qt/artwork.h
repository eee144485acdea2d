// Icons and cursors from the program's artwork (the files its resources name, built into the
// binary under ":/").
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <optional>

#include "platform/resources.h"

namespace kestrin::qt {

// An icon with one image per file.
QIcon IconFromArtwork(const platform::ArtworkResource& art);
// The cursor of a Windows .cur file, with the hot spot the file gives; the pointing hand
// when the file cannot be read.
QCursor CursorFromArtwork(const platform::ArtworkResource& art);
// Reads a Windows .cur file holding a monochrome image; nullopt when it is not one.
std::optional<QCursor> CursorFromCurFile(const QByteArray& file);

}  // namespace kestrin::qt
