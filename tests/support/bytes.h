// Builds expected file bytes by hand, independently of the archive code.
#pragma once

#include "platform/types.h"

#include <cstring>
#include <string>
#include <vector>

class ByteWriter {
public:
    ByteWriter& u8(unsigned v) { m_bytes.push_back(BYTE(v)); return *this; }
    ByteWriter& u16(unsigned v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    ByteWriter& u32(unsigned long v) { return u16(v & 0xFFFF).u16((v >> 16) & 0xFFFF); }
    ByteWriter& f64(double d)
    {
        unsigned long long bits;
        std::memcpy(&bits, &d, 8);
        return u32(bits & 0xFFFFFFFFu).u32(bits >> 32);
    }
    ByteWriter& raw(const std::string& s)
    {
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    // Strings shorter than 255 bytes: one length byte; up to 65533: 0xFF and a word.
    ByteWriter& str(const std::string& s)
    {
        return (s.size() < 0xFF ? u8(unsigned(s.size())) : u8(0xFF).u16(unsigned(s.size()))).raw(s);
    }
    ByteWriter& point(double x, double y, double z) { return f64(x).f64(y).f64(z); }
    ByteWriter& zeros(std::size_t n)
    {
        m_bytes.insert(m_bytes.end(), n, 0);
        return *this;
    }
    // Base-128 groups, least significant first; zig: a signed value zigzag-folded first.
    ByteWriter& var(unsigned long long v)
    {
        for (; v >= 0x80; v >>= 7)
            u8(unsigned(v & 0x7F) | 0x80);
        return u8(unsigned(v));
    }
    ByteWriter& zig(long long v) { return var((static_cast<unsigned long long>(v) << 1) ^ (v < 0 ? ~0ull : 0ull)); }
    ByteWriter& classRecord(const std::string& name) { return u16(0xFFFF).u16(1).u16(unsigned(name.size())).raw(name); }

    const std::vector<BYTE>& bytes() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }

private:
    std::vector<BYTE> m_bytes;
};
