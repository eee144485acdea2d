// The rate field's rule: which texts are a rate, and which value they give.
#pragma once

#include "platform/framework/cstring.h"

// The largest rate a user can set.
inline constexpr int RATE_MAX = 1000;

// Reads the rate text into `value` (0 on entry; accumulated into). Accepts the empty text and
// an optional plus sign followed by ASCII digits worth at most RATE_MAX. On rejection the
// text is emptied and a message box says what to type before this returns false; `value`
// then holds what was read before the rejection (above RATE_MAX for an over-long number).
bool ParseRate(CString& text, int& value);
