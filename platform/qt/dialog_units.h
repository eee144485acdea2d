// Dialog units to pixels, with the dialog font's base units, as Windows converts them.
#pragma once

#include <QFont>
#include <QRect>

#include "platform/dialog_template.h"

namespace kestrin::qt {

struct BaseUnits {
    int x = 0;  // average width of A-Z a-z, rounded as Windows rounds it
    int y = 0;  // font height
};

// The font of every dialog: a CJK sans at the pixel size of a `pointSize` font at 96 dpi
// (8 points: 11 pixels, whose base units are 6 x 13, those of the Windows dialog font).
QFont DialogFont(int pointSize);
BaseUnits MeasureBaseUnits(const QFont& font);

int DialogXToPixels(int x, BaseUnits units);
int DialogYToPixels(int y, BaseUnits units);
QRect DialogRectToPixels(const platform::DialogRect& rect, BaseUnits units);

}  // namespace kestrin::qt
