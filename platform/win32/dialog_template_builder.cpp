#include "platform/win32/dialog_template_builder.h"

#include <windows.h>

namespace kestrin::win32 {
namespace {

using platform::ControlKind;

// Predefined control classes, by ordinal.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr std::uint16_t kComboBoxClass = 0x0085;

class TemplateWriter {
  public:
    void Word(std::uint16_t value) { m_words.push_back(value); }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Text(std::u16string_view text) {
        for (const char16_t unit : text) Word(unit);
        Word(0);
    }
    void Ordinal(std::uint16_t value) {
        Word(0xFFFF);
        Word(value);
    }
    // Items start on a DWORD boundary.
    void AlignDword() {
        if (m_words.size() % 2 != 0) Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(m_words); }

  private:
    std::vector<std::uint16_t> m_words;
};

std::uint16_t ClassOrdinal(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
            return kEditClass;
        case ControlKind::Button:
        case ControlKind::GroupBox:
            return kButtonClass;
        case ControlKind::ComboBox:
            return kComboBoxClass;
        case ControlKind::Static:
        case ControlKind::StaticIcon:
            return kStaticClass;
    }
    return kStaticClass;
}

}  // namespace

std::vector<std::uint16_t> BuildDialogTemplate(const platform::DialogTemplate& dialog,
                                               std::u16string_view windowClass) {
    TemplateWriter out;
    // DLGTEMPLATEEX header.
    out.Word(1);       // dlgVer
    out.Word(0xFFFF);  // signature: the extended template
    out.Dword(0);      // helpID
    out.Dword(dialog.exStyle);
    out.Dword(dialog.style & ~static_cast<std::uint32_t>(WS_VISIBLE));
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.Short(dialog.rect.x);
    out.Short(dialog.rect.y);
    out.Short(dialog.rect.cx);
    out.Short(dialog.rect.cy);
    out.Word(0);  // no menu
    out.Text(windowClass);
    out.Text(dialog.caption);
    if ((dialog.style & DS_SETFONT) != 0) {
        out.Short(dialog.pointSize);
        out.Word(FW_NORMAL);
        out.Word(static_cast<std::uint16_t>(DEFAULT_CHARSET << 8));  // italic 0, charset
        out.Text(dialog.fontName);
    }

    for (const auto& control : dialog.controls) {
        // DLGITEMTEMPLATEEX.
        out.AlignDword();
        out.Dword(0);  // helpID
        out.Dword(0);  // exStyle
        out.Dword(control.style);
        out.Short(control.rect.x);
        out.Short(control.rect.y);
        out.Short(control.rect.cx);
        out.Short(control.rect.cy);
        out.Dword(static_cast<std::uint32_t>(control.id));
        out.Ordinal(ClassOrdinal(control.kind));
        if (control.kind == ControlKind::StaticIcon) {
            out.Ordinal(static_cast<std::uint16_t>(control.iconResource));
        } else {
            out.Text(control.text);
        }
        out.Word(0);  // no creation data
    }
    return out.Take();
}

}  // namespace kestrin::win32
