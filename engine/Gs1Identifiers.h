#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The characters a part of a GS1 data field may hold.
enum class TGs1Characters : std::uint8_t {
    Digits,
    Set82, // GS1 AI encodable character set 82
    Set39, // GS1 AI encodable character set 39
    Set64, // GS1 AI encodable character set 64: file-safe, URI-safe base64
};

// What the digits of a part must be beyond digits.
enum class TGs1Rule : std::uint8_t {
    None,
    CheckDigit,  // the last is the GS1 modulo 10 check digit of the others
    Date,        // YYMMDD
    DateOrMonth, // YYMMDD, or DD 00 where the day need not be given
    LongDate,    // YYYYMMDD
};

// One part of a data field: Length characters, or 1 to Length where Variable (only the last part
// is). Optional parts follow the others and are left out from the first one the data lacks.
struct TGs1Part {
    TGs1Characters Characters = TGs1Characters::Digits;
    std::uint8_t Length = 0;
    bool Variable = false;
    bool Optional = false;
    TGs1Rule Rule = TGs1Rule::None;
};

// An application identifier, or a range of them of one length, and the format of its data field.
// Predefined: GS1's table of element strings of predefined length has it, so no FNC1 follows it.
struct TGs1Identifier {
    std::string_view First;
    std::string_view Last;
    bool Predefined = false;
    std::array<TGs1Part, 5> Parts{}; // a Length of 0 ends them
};

// The row of an application identifier, or nullptr for anything else.
const TGs1Identifier* FindGs1Identifier(std::string_view ai);
