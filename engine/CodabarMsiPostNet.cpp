#include "Barcode.h"

#include "CharacterRows.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// Codabar: seven elements, bar first: "5" narrow bar, "6" wide bar, "0" narrow space, "1" wide
// space.
struct TCodabarRow {
    char Character;
    std::string_view Pattern;
};

constexpr TCodabarRow CodabarTable[] = {
    {'1', "5050615"}, {'2', "5051506"}, {'3', "6150505"}, {'4', "5060515"}, {'5', "6050515"},
    {'6', "5150506"}, {'7', "5150605"}, {'8', "5160505"}, {'9', "6051505"}, {'0', "5050516"},
    {'-', "5051605"}, {'$', "5061505"}, {':', "6050606"}, {'/', "6060506"}, {'.', "6060605"},
    {'+', "5060606"}, {'A', "5061515"}, {'B', "5151506"}, {'C', "5051516"}, {'D', "5051615"},
};
static_assert(std::size(CodabarTable) == 20);
constexpr auto CodabarRows = CharacterRows(CodabarTable);

// The start and stop characters when the data does not bring its own.
constexpr char CodabarStart = 'A';
constexpr char CodabarStop = 'B';
// One narrow space separates neighbouring characters.
constexpr char CodabarGap = '0';

bool IsCodabarStartStop(char ch) {
    return ch >= 'A' && ch <= 'D';
}

void AppendCodabarCharacter(std::string& pattern, char ch) {
    pattern += CodabarTable[TBarcode::FindCodabarIndex(ch)].Pattern;
}

// MSI writes each digit as its four bits, most significant first.
constexpr std::string_view MsiZeroBit = "51";
constexpr std::string_view MsiOneBit = "60";
constexpr std::string_view MsiStart = "60";
constexpr std::string_view MsiStop = "515";
constexpr int MsiBitsPerDigit = 4;

void AppendMsiDigit(std::string& pattern, int digit) {
    for (int bit = MsiBitsPerDigit - 1; bit >= 0; --bit) {
        pattern += (digit >> bit) & 1 ? MsiOneBit : MsiZeroBit;
    }
}

// PostNet: the published five flags per digit, "1" a full bar and "0" a short bar, indexed by
// the digit's value. Every bar is followed by a wide space.
constexpr std::string_view PostNetFlags[] = {
    "11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100",
};
static_assert(std::size(PostNetFlags) == 10);
static_assert(std::ranges::all_of(PostNetFlags, [](std::string_view flags) {
    return flags.size() == 5 && std::ranges::count(flags, '1') == 2;
}));

constexpr std::string_view PostNetFullBar = "51";
constexpr std::string_view PostNetShortBar = "A1";
constexpr std::string_view PostNetStart = "51";
constexpr std::string_view PostNetStop = "5";

void AppendPostNetDigit(std::string& pattern, char digit) {
    for (const char flag : PostNetFlags[digit - '0']) {
        pattern += flag == '1' ? PostNetFullBar : PostNetShortBar;
    }
}

} // namespace

int TBarcode::FindCodabarIndex(char ch) {
    return CodabarRows[static_cast<unsigned char>(ch)];
}

// Data that begins and ends with one of the start/stop letters A to D is framed by those two;
// other data by "A" and "B". A letter A to D anywhere else is refused: readers take it for the
// end of the symbol.
std::string TBarcode::EncodeCodabar() const {
    const std::string_view text = FText;
    const bool framed =
        text.size() >= 2 && IsCodabarStartStop(text.front()) && IsCodabarStartStop(text.back());
    const std::size_t first = framed ? 1 : 0;
    const std::size_t end = framed ? text.size() - 1 : text.size();
    for (std::size_t i = first; i < end; ++i) {
        if (FindCodabarIndex(text[i]) < 0) {
            RaiseBadCharacter(i, "is not in Codabar");
        }
        if (IsCodabarStartStop(text[i])) {
            RaiseBadCharacter(i, "is a start/stop character: A to D may only begin and end the "
                                 "data, both together");
        }
    }
    std::string pattern;
    AppendCodabarCharacter(pattern, framed ? text.front() : CodabarStart);
    pattern += CodabarGap;
    for (std::size_t i = first; i < end; ++i) {
        AppendCodabarCharacter(pattern, text[i]);
        pattern += CodabarGap;
    }
    AppendCodabarCharacter(pattern, framed ? text.back() : CodabarStop);
    return pattern;
}

std::string TBarcode::EncodeMsi() const {
    RequireDigits();
    std::string pattern(MsiStart);
    for (const char ch : FText) {
        AppendMsiDigit(pattern, ch - '0');
    }
    AppendMsiDigit(pattern, MsiCheckDigit(FText));
    pattern += MsiStop;
    return pattern;
}

// The published modulo 10 rule: from the rightmost digit on, every other digit is doubled and
// contributes the digit sum of the product. Reducing as we go suits data of any length.
int TBarcode::MsiCheckDigit(std::string_view digits) {
    int total = 0;
    bool doubled = true;
    for (auto ch = digits.rbegin(); ch != digits.rend(); ++ch, doubled = !doubled) {
        const int digit = *ch - '0';
        total = (total + (doubled ? DigitSum(2 * digit) : digit)) % 10;
    }
    return (10 - total) % 10;
}

int TBarcode::DigitSum(int v) {
    int sum = 0;
    for (; v > 0; v /= 10) {
        sum += v % 10;
    }
    return sum;
}

std::string TBarcode::EncodePostNet() const {
    RequireDigits();
    std::string pattern(PostNetStart);
    for (const char digit : FText) {
        AppendPostNetDigit(pattern, digit);
    }
    pattern += PostNetStop;
    return pattern;
}
