#include "platform/qt/group_box.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace kestrin::qt {
namespace {

constexpr int kTitleIndent = 8;   // pixels from the frame's left edge to the title's box
constexpr int kTitlePadding = 2;  // blank pixels either side of the title

}  // namespace

GroupBox::GroupBox(const QString& title, QWidget* parent) : QWidget(parent), m_title(title) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QRect frame(0, lineY, width() - 1, height() - lineY - 1);

    // An etched frame: a dark line with a light one beside it.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1).adjusted(0, 0, -1, -1));

    const int textWidth = metrics.horizontalAdvance(m_title);
    const QRect titleBox(kTitleIndent, 0, textWidth + 2 * kTitlePadding, metrics.height());
    painter.fillRect(titleBox, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(titleBox, Qt::AlignCenter, m_title);
}

}  // namespace kestrin::qt
