// The text of a DXF file as groups (a code line and a value line) and
// records (a group of code 0 and the groups up to the next one), and the
// values in them: numbers read independently of the locale, strings in code
// page 1252.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"
#include "model/strutil.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dxf {

// Larger magnitudes than this are taken for damage, not for drawing values.
inline constexpr double kAbsurd = kCoordinateLimit;

// What makes a whole file unreadable: where and what.
class DxfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bytes of the file as a message shows them: control characters written
// as \0, \t, \n, \r or \xHH.
std::string Visible(std::string_view s);

// A finite number of magnitude up to kAbsurd, blanks around it allowed.
bool ParseReal(std::string_view s, double& value);
// A decimal integer, blanks around it and a sign allowed.
bool ParseInt(std::string_view s, int& value);

// A string value in code page 1252: \U+XXXX escapes resolved, and the bytes
// of a UTF-8 file (utf8) converted; in texts the %% codes too (degree, plus
// or minus, diameter, percent, a character number; the on-off codes dropped).
// A character code page 1252 lacks is kept as its \U+XXXX escape, which
// the writer writes back; escaped tells whether there was one.
std::string DecodeValue(std::string_view value, bool utf8, bool text, bool* escaped = nullptr);

struct Group {
    int code = 0;
    std::string_view value;  // the value line without its line end
};

// Splits the text into groups. Lines end at LF; a CR before it is dropped.
class GroupReader {
public:
    explicit GroupReader(std::string_view text) : m_text(text) {}
    // The next group; false at the end of the text. Throws DxfError for a
    // code line that is not a number, or a code without its value.
    bool Next(Group& g);
    // Lines read so far.
    std::size_t Line() const { return m_line; }

private:
    bool NextLine(std::string_view& line);

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_line = 0;
};

struct Record {
    std::string_view name;  // the value of its code-0 group, trimmed
    std::size_t line = 0;   // the line of that value
    std::vector<Group> groups;
};

// Splits the groups into records; groups before the first code 0 are passed over.
class RecordReader {
public:
    explicit RecordReader(std::string_view text) : m_groups(text) {}
    // The next record into r (or r as it is after PutBack); false at the end of the text.
    bool Next(Record& r);
    // The record last read is read again by the next call of Next.
    void PutBack() { m_putBack = true; }

private:
    GroupReader m_groups;
    Group m_next;
    bool m_pending = false;
    bool m_putBack = false;
};

// The groups of one record by code, for codes below kCodes; the first group
// of a code counts (in a HEADER only the first 2 names the section). Numbers
// are parsed when asked for; one that is not usable marks the record bad.
class Fields {
public:
    static constexpr int kCodes = 240;

    void Load(const Record& r);

    bool Has(int code) const { return m_stamp[code] == m_generation; }
    bool HasAll(std::initializer_list<int> codes) const
    {
        for (int c : codes)
            if (!Has(c))
                return false;
        return true;
    }
    // Whether code a came after code b (both present).
    bool After(int a, int b) const { return m_order[a] > m_order[b]; }
    std::string_view Raw(int code) const { return Has(code) ? m_value[code] : std::string_view(); }
    std::string_view Name(int code) const { return Trim(Raw(code)); }
    // The number of a group, fallback when the record has none.
    double Real(int code, double fallback = 0.0);
    int Int(int code, int fallback = 0);
    // x from code, y from code + 10, z from code + 20.
    CPointd Point(int code) { return CPointd(Real(code), Real(code + 10), Real(code + 20)); }

    bool bad = false;

private:
    std::array<std::string_view, kCodes> m_value{};
    std::array<std::size_t, kCodes> m_order{};
    std::array<std::uint32_t, kCodes> m_stamp{};
    std::uint32_t m_generation = 0;
};

}  // namespace dxf
