#include "platform/qt/artwork.h"

#include <QBitmap>
#include <QFile>
#include <QImage>
#include <cstdint>

namespace kestrin::qt {
namespace {

std::uint32_t ReadLittleEndian(const QByteArray& data, qsizetype at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(data[at + i]);
    }
    return value;
}

bool BitAt(const QByteArray& data, qsizetype rowStart, int x) {
    const auto byte = static_cast<std::uint8_t>(data[rowStart + x / 8]);
    return ((byte >> (7 - x % 8)) & 1) != 0;
}

QString ResourcePath(std::string_view name) {
    return QStringLiteral(":/") +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QIcon IconFromArtwork(const platform::ArtworkResource& art) {
    QIcon icon;
    for (const std::string_view name : art.files) icon.addFile(ResourcePath(name));
    return icon;
}

QCursor CursorFromArtwork(const platform::ArtworkResource& art) {
    if (!art.files.empty()) {
        QFile file(ResourcePath(art.files.front()));
        if (file.open(QIODevice::ReadOnly)) {
            if (auto cursor = CursorFromCurFile(file.readAll())) return *cursor;
        }
    }
    return QCursor(Qt::PointingHandCursor);
}

std::optional<QCursor> CursorFromCurFile(const QByteArray& file) {
    // ICONDIR (6 bytes), then one 16-byte entry per image; we use the first.
    constexpr qsizetype kDirSize = 6;
    constexpr qsizetype kEntrySize = 16;
    constexpr qsizetype kInfoHeaderSize = 40;
    if (file.size() < kDirSize + kEntrySize) return std::nullopt;
    if (ReadLittleEndian(file, 0, 2) != 0 || ReadLittleEndian(file, 2, 2) != 2 ||
        ReadLittleEndian(file, 4, 2) == 0) {
        return std::nullopt;
    }
    const int hotX = static_cast<int>(ReadLittleEndian(file, kDirSize + 4, 2));
    const int hotY = static_cast<int>(ReadLittleEndian(file, kDirSize + 6, 2));
    const qsizetype image = ReadLittleEndian(file, kDirSize + 12, 4);
    if (image + kInfoHeaderSize > file.size()) return std::nullopt;

    // BITMAPINFOHEADER of a 1-bit image whose height counts the XOR and AND masks.
    const int width = static_cast<int>(ReadLittleEndian(file, image + 4, 4));
    const int height = static_cast<int>(ReadLittleEndian(file, image + 8, 4)) / 2;
    const auto bitCount = ReadLittleEndian(file, image + 14, 2);
    if (bitCount != 1 || width <= 0 || height <= 0 || width > 256 || height > 256) {
        return std::nullopt;
    }
    const qsizetype palette = image + ReadLittleEndian(file, image, 4);
    const qsizetype stride = ((width + 31) / 32) * 4;
    const qsizetype xorMask = palette + 2 * 4;
    const qsizetype andMask = xorMask + stride * height;
    if (andMask + stride * height > file.size()) return std::nullopt;
    // Palette entries are BGRX; index 1 is white in a cursor made the usual way.
    const bool oneIsWhite = static_cast<std::uint8_t>(file[palette + 4]) > 0x80;

    // Qt's monochrome cursor: mask 1 = drawn, bitmap 1 = black.
    QImage bitmap(width, height, QImage::Format_RGB32);
    QImage mask(width, height, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    mask.fill(Qt::white);
    for (int y = 0; y < height; ++y) {
        const int row = height - 1 - y;  // rows are stored bottom-up
        for (int x = 0; x < width; ++x) {
            const bool andBit = BitAt(file, andMask + row * stride, x);
            const bool xorBit = BitAt(file, xorMask + row * stride, x);
            if (andBit && !xorBit) continue;  // transparent
            const bool white = !andBit && (xorBit == oneIsWhite);
            mask.setPixel(x, y, qRgb(0, 0, 0));
            if (!white) bitmap.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    return QCursor(QBitmap::fromImage(bitmap, Qt::MonoOnly), QBitmap::fromImage(mask, Qt::MonoOnly),
                   hotX, hotY);
}

}  // namespace kestrin::qt
