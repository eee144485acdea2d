// The program's resources as the framework and a backend look them up: dialog templates,
// the string table and the artwork of icons and cursors. The program's entry point hands one
// Resources to the framework (RunApplication) and to its backend; neither reaches into res/.
#pragma once

#include <algorithm>
#include <span>
#include <string_view>

#include "platform/dialog_template.h"

namespace kestrin::platform {

// Texts a backend may need to show of its own accord, looked up in the program's string
// table (Resources::FindString), so that they are in the program's language.
// The desktop refused Kestrin's request to click (its remote-control consent dialog).
inline constexpr int IDS_CLICKS_REFUSED = 201;
// The desktop ended the permission to click while Kestrin was clicking.
inline constexpr int IDS_CLICKS_CLOSED = 202;
// The desktop took the hot keys back, and they could not be had again.
inline constexpr int IDS_HOTKEYS_LOST = 203;

struct StringResource {
    int id;
    std::u16string_view text;
};

// An icon or cursor: its image files, paths relative to the resource folder (res/). An icon
// lists one file per size; a cursor one Windows .cur file.
struct ArtworkResource {
    enum class Kind { Icon, Cursor };
    int id;
    Kind kind;
    std::span<const std::string_view> files;
};

struct Resources {
    std::span<const DialogTemplate* const> dialogs;
    std::span<const StringResource> strings;
    std::span<const ArtworkResource> artwork;

    // nullptr when there is no such dialog.
    const DialogTemplate* FindDialog(int id) const {
        const auto it = std::find_if(dialogs.begin(), dialogs.end(),
                                     [id](const DialogTemplate* d) { return d->id == id; });
        return it == dialogs.end() ? nullptr : *it;
    }
    // Empty when there is no such string.
    std::u16string_view FindString(int id) const {
        const auto it = std::find_if(strings.begin(), strings.end(),
                                     [id](const StringResource& s) { return s.id == id; });
        return it == strings.end() ? std::u16string_view() : it->text;
    }
    // nullptr when there is no such icon or cursor.
    const ArtworkResource* FindArtwork(int id, ArtworkResource::Kind kind) const {
        const auto it = std::find_if(artwork.begin(), artwork.end(),
                                     [&](const auto& a) { return a.id == id && a.kind == kind; });
        return it == artwork.end() ? nullptr : &*it;
    }
};

}  // namespace kestrin::platform
