// libFuzzer target: any UTF-16 text in the rate field. ParseRate must accept exactly the
// texts an independent reading accepts, give their value, and leave a rejected field empty
// with one message box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/rate_entry.h"
#include "platform/framework/cwinapp.h"
#include "platform/sim/sim_platform.h"

namespace {

// The rule written the long way: optional '+', then only ASCII digits, value <= 1000.
bool Expected(const std::u16string& text, long long& value) {
    std::size_t i = (!text.empty() && text[0] == u'+') ? 1 : 0;
    value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') return false;
        if (value <= 100000) value = value * 10 + (text[i] - u'0');
    }
    return value <= 1000;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    kestrin::sim::SimPlatform sim;
    CPlatformScope scope(sim);
    CString field(text);
    int value = 0;
    const bool accepted = ParseRate(field, value);

    long long expectedValue = 0;
    const bool expected = Expected(text, expectedValue);
    if (accepted != expected) std::abort();
    if (accepted &&
        (value != expectedValue || field.str() != text || !sim.MessageBoxes().empty())) {
        std::abort();
    }
    if (!accepted && (!field.IsEmpty() || sim.MessageBoxes().size() != 1)) std::abort();
    return 0;
}
