// The font description that texts and the drawing header store: the classic
// 60-byte in-memory font record (32-bit sizes, eight flag bytes, a 32-byte face).
#pragma once

#include "platform/types.h"

#include <cstring>
#include <string>
#include <string_view>

constexpr int LF_FACESIZE = 32;

constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr int FW_HEAVY = 900;

constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;

// lfPitchAndFamily: pitch in the low two bits, family in bits 4..7.
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;

struct LOGFONT {
    LONG lfHeight = 0;       // < 0: character height, > 0: cell height, 0: default; logical units
    LONG lfWidth = 0;        // average character width; 0 = the face's own
    LONG lfEscapement = 0;   // tenths of a degree
    LONG lfOrientation = 0;
    LONG lfWeight = 0;       // 1..1000, 0 = normal
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

// The face name up to its NUL (all 32 bytes when there is none).
inline std::string FaceNameOf(const LOGFONT& lf)
{
    const void* nul = std::memchr(lf.lfFaceName, 0, LF_FACESIZE);
    std::size_t n = nul ? std::size_t(static_cast<const char*>(nul) - lf.lfFaceName) : LF_FACESIZE;
    return std::string(lf.lfFaceName, n);
}

// Stores at most 31 characters and clears the rest of the array.
inline void SetFaceName(LOGFONT& lf, std::string_view face)
{
    std::memset(lf.lfFaceName, 0, LF_FACESIZE);
    std::memcpy(lf.lfFaceName, face.data(), face.size() < LF_FACESIZE ? face.size() : LF_FACESIZE - 1);
}
