#pragma once

#include <string>
#include <string_view>
#include <vector>

// The symbol characters of Code 128 and how a symbol is framed: shared by the encoders of one
// code set (Code 128A, B and C) and of sets chosen per character (Code 128, GS1-128).
namespace Code128 {

// The published symbol character patterns, indexed by value, in width digits: bar, space, bar,
// space, bar, space in modules.
inline constexpr std::string_view Widths[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", // 0
    "132212", "221213", "221312", "231212", "112232", "122132", "122231", "113222", // 8
    "123122", "123221", "223211", "221132", "221231", "213212", "223112", "312131", // 16
    "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", // 24
    "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313", // 32
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", // 40
    "313121", "211331", "231131", "213113", "213311", "213131", "311123", "311321", // 48
    "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", // 56
    "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114", // 64
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", // 72
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", // 80
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", // 88
    "114311", "411113", "411311", "113141", "114131", "311141", "411131",           // 96
};

// The start character's value seeds the check sum.
struct TStartCharacter {
    std::string_view Widths;
    int Value;
};
inline constexpr TStartCharacter StartA{"211412", 103};
inline constexpr TStartCharacter StartB{"211214", 104};
inline constexpr TStartCharacter StartC{"211232", 105};

// Start, the values, the check character (modulo 103) and the stop with its termination bar.
std::string Pattern(const TStartCharacter& start, const std::vector<int>& values);

// Where a message holds this byte, FNC1 stands; the other bytes are ASCII characters.
inline constexpr char Fnc1 = '\x80';

// The message in the fewest symbol characters: the start set, the changes of set and the
// single shifts chosen over the whole message, not character by character.
std::string OptimalPattern(std::string_view message);

} // namespace Code128
