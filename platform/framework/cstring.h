// CString: a string of UTF-16 code units.
#pragma once

#include <string>
#include <string_view>

class CString {
  public:
    CString() = default;
    CString(const char16_t* text) : m_str(text) {}            // NOLINT: converts like the original
    CString(std::u16string_view text) : m_str(text) {}        // NOLINT
    CString(std::u16string text) : m_str(std::move(text)) {}  // NOLINT

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char16_t GetAt(int index) const { return m_str[static_cast<std::size_t>(index)]; }
    char16_t operator[](int index) const { return GetAt(index); }

    // Replaces the contents with `format`, its one "%d" replaced by `value` in decimal.
    void Format(std::u16string_view format, int value);

    const std::u16string& str() const { return m_str; }
    operator std::u16string_view() const { return m_str; }  // NOLINT

    friend bool operator==(const CString&, const CString&) = default;

  private:
    std::u16string m_str;
};
