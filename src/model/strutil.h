// Small byte, string and number-formatting helpers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True when n < 1 or the first n bytes of a and b are equal.
bool BytesEqual(const void* a, const void* b, std::ptrdiff_t n);
// Same length and same bytes, case-sensitive.
bool StrEqual(std::string_view a, std::string_view b);
// Without blanks (spaces and tabs) at either end.
std::string_view Trim(std::string_view s);
// Copies src up to its first NUL (or first blank when stopAtBlank) into buf, truncated to size - 1, NUL-ended; returns chars copied; size 0 writes nothing.
std::size_t CopyCStringToBuf(std::string_view src, char* buf, std::size_t size, bool stopAtBlank);
// Index of the first byte equal to c in buf[first..last] (clamped to [0, size - 1]); -1 when none or first > last.
std::ptrdiff_t FindByteInRange(const void* buf, std::size_t size, char c, std::ptrdiff_t first, std::ptrdiff_t last);
// Value with n decimals (n clamped to [0, 40]), no leading zero (".50", "-.05", "7."); 0 gives "0"; "nan", "inf", "-inf"; locale-independent.
std::string FormatNumber(double value, int decimals);
