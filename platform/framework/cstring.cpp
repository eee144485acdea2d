#include "platform/framework/cstring.h"

void CString::Format(std::u16string_view format, int value) {
    // Digits of a 32-bit int, most significant last, computed on the unsigned magnitude so
    // that the smallest int formats too.
    std::u16string digits;
    auto magnitude = static_cast<unsigned>(value);
    if (value < 0) magnitude = 0u - magnitude;
    do {
        digits.push_back(static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits.push_back(u'-');

    std::u16string out;
    const auto at = format.find(u"%d");
    out.append(format.substr(0, at));
    if (at != std::u16string_view::npos) {
        out.append(digits.rbegin(), digits.rend());
        out.append(format.substr(at + 2));
    }
    m_str = std::move(out);
}
