#include "platform/qt/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace kestrin::qt {
namespace {

constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;

// a * b / c rounded half away from zero, as Windows' MulDiv (all values here are >= 0).
int MulDiv(int a, int b, int c) {
    return (a * b + c / 2) / c;
}

}  // namespace

QFont DialogFont(int pointSize) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(MulDiv(pointSize, kScreenDpi, kPointsPerInch));
    return font;
}

BaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(width / 26 + 1) / 2, metrics.height()};
}

int DialogXToPixels(int x, BaseUnits units) {
    return MulDiv(x, units.x, 4);
}

int DialogYToPixels(int y, BaseUnits units) {
    return MulDiv(y, units.y, 8);
}

QRect DialogRectToPixels(const platform::DialogRect& rect, BaseUnits units) {
    const int left = DialogXToPixels(rect.x, units);
    const int top = DialogYToPixels(rect.y, units);
    const int right = DialogXToPixels(rect.x + rect.cx, units);
    const int bottom = DialogYToPixels(rect.y + rect.cy, units);
    return {left, top, right - left, bottom - top};
}

}  // namespace kestrin::qt
