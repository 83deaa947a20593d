// Cutting UTF-8 text between characters.
#pragma once

#include <cstddef>
#include <string_view>

// The start of the character that holds byte at: at itself, or the lead
// byte before it; at when it lies at or past the end.
inline std::size_t Utf8CharacterStart(std::string_view text, std::size_t at)
{
    while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}
