// BMP files built byte by byte, independently of the reader.
#pragma once

#include "support/bytes.h"

#include <QImage>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// A picture stored bottom up at 8 bits (palette given as 0x00RRGGBB) or
// 24 bits, with a 40-byte header; rows padded to whole words.
inline std::vector<BYTE> MakeBmp(const QImage& picture, int bpp = 24, const std::vector<QRgb>& palette = {})
{
    const int w = picture.width(), h = picture.height();
    const std::size_t row = (std::size_t(w) * std::size_t(bpp) + 31) / 32 * 4;
    const std::size_t offset = 14 + 40 + palette.size() * 4;
    ByteWriter b;
    b.raw("BM").u32(unsigned(offset + row * std::size_t(h))).u32(0).u32(unsigned(offset));
    b.u32(40).u32(unsigned(w)).u32(unsigned(h)).u16(1).u16(unsigned(bpp)).u32(0).u32(0).u32(0).u32(0);
    b.u32(unsigned(palette.size())).u32(0);
    for (QRgb c : palette)
        b.u8(qBlue(c)).u8(qGreen(c)).u8(qRed(c)).u8(0);
    for (int y = h - 1; y >= 0; --y) {
        std::size_t written = 0;
        for (int x = 0; x < w; ++x) {
            const QRgb c = picture.pixel(x, y);
            if (bpp == 8) {
                int index = 0;
                for (std::size_t i = 0; i < palette.size(); ++i)
                    if ((palette[i] & 0xFFFFFF) == (c & 0xFFFFFF))
                        index = int(i);
                b.u8(unsigned(index));
                written += 1;
            } else {
                b.u8(qBlue(c)).u8(qGreen(c)).u8(qRed(c));
                written += 3;
            }
        }
        b.zeros(row - written);
    }
    return b.bytes();
}

inline void WriteFile(const std::string& path, const std::vector<BYTE>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
