// Fuzz inputs that stand for files far longer than themselves: "RP", a 32-bit
// count, a 16-bit start and an 8-bit length, then the file, in which the
// length bytes from start stand count times. Anything else is the file as it
// is. Shared by the BMP fuzz target and the tests of what it reaches.
#pragma once

#include "platform/types.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

inline constexpr std::size_t kMaxRepeatedFile = std::size_t(128) << 20;

inline std::vector<BYTE> ExpandRepeats(const BYTE* data, std::size_t size)
{
    constexpr std::size_t kHead = 9;
    if (size < kHead || data[0] != 'R' || data[1] != 'P')
        return std::vector<BYTE>(data, data + size);
    const std::uint32_t count = data[2] | data[3] << 8 | data[4] << 16 | std::uint32_t(data[5]) << 24;
    const BYTE* file = data + kHead;
    const std::size_t fileSize = size - kHead;
    const std::size_t start = std::min<std::size_t>(data[6] | data[7] << 8, fileSize);
    const std::size_t length = std::min<std::size_t>(data[8], fileSize - start);
    const std::size_t times = length ? std::min<std::size_t>(count, kMaxRepeatedFile / length) : 0;
    const std::size_t tail = fileSize - start - length;
    std::vector<BYTE> out(start + times * length + tail);
    if (out.empty())
        return out;
    std::memcpy(out.data(), file, start);
    // The piece once, then what is there doubled until it stands times times.
    BYTE* piece = out.data() + start;
    const std::size_t repeated = times * length;
    if (repeated)
        std::memcpy(piece, file + start, length);
    for (std::size_t done = std::min(length, repeated); done < repeated; done *= 2)
        std::memcpy(piece + done, piece, std::min(done, repeated - done));
    if (tail)
        std::memcpy(piece + repeated, file + start + length, tail);
    return out;
}
