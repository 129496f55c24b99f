// Files of a picture directory as tests write them: a small bitmap made byte by
// byte, and layout files as text.
#pragma once

#include <QByteArray>
#include <QtEndian>

namespace zev::test {

// A 24-bit bitmap of width x height pixels, every pixel of one colour (0xRRGGBB).
inline QByteArray tinyBitmap(int width, int height, quint32 rgb = 0x336699) {
    const int row = ((width * 24 + 31) / 32) * 4;
    QByteArray b(54 + row * height, '\0');
    auto put32 = [&b](int at, quint32 v) { qToLittleEndian<quint32>(v, b.data() + at); };
    auto put16 = [&b](int at, quint16 v) { qToLittleEndian<quint16>(v, b.data() + at); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<quint32>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<quint32>(width));
    put32(22, static_cast<quint32>(height));
    put16(26, 1);
    put16(28, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char* p = b.data() + 54 + y * row + x * 3;
            p[0] = static_cast<char>(rgb & 0xFF);
            p[1] = static_cast<char>((rgb >> 8) & 0xFF);
            p[2] = static_cast<char>((rgb >> 16) & 0xFF);
        }
    return b;
}

}  // namespace zev::test
