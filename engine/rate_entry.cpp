#include "engine/rate_entry.h"

#include "platform/framework/cwinapp.h"
#include "res/texts.h"

bool ParseRate(CString& text, int& value) {
    const int length = text.GetLength();
    int i = (length > 0 && text[0] == u'+') ? 1 : 0;
    for (; i < length; ++i) {
        const char16_t c = text[i];  // compared as an unsigned 16-bit code unit
        if (c < u'0' || c > u'9') break;
        value = value * 10 + (c - u'0');
        // One digit past the limit already decides: stop before the value can overflow,
        // however long the text is.
        if (value > RATE_MAX) break;
    }
    if (i == length && value <= RATE_MAX) return true;

    text.Empty();
    // The rejection shows its own message box here, before the caller adds its second one.
    AfxMessageBox(CString(kestrin::res::kBadRateText), MB_OK);
    return false;
}
