#include "Barcode.h"
#include "Code128Table.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace Code128;

enum TSet : std::uint8_t { SetA, SetB, SetC };

constexpr std::array<TStartCharacter, 3> Starts{StartA, StartB, StartC};
// CODE A, CODE B and CODE C have one value in every set that can change to them.
constexpr std::array<int, 3> ChangeTo{101, 100, 99};
constexpr int ShiftValue = 98;
constexpr int Fnc1Value = 102;
// On a tie the letter sets come first, B before A, as Code 128B is the common choice; C only
// where it saves a character.
constexpr std::array<TSet, 3> Preference{SetB, SetA, SetC};

constexpr int Unreachable = INT_MAX / 2;

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// The value of a character in set A (the controls and the space to "_") or B (the space to DEL),
// or -1 where the set lacks it; FNC1 is in both.
int ValueIn(TSet set, char ch) {
    if (ch == Fnc1) {
        return Fnc1Value;
    }
    const auto code = static_cast<unsigned char>(ch);
    if (set == SetA) {
        return code < ' ' ? code + 64 : code <= '_' ? code - ' ' : -1;
    }
    return code >= ' ' ? code - ' ' : -1;
}

// How the character at a position is best carried from a set: Target is the set to change to
// first, or the set itself; Shifted, that set A or B takes the character from the other for this
// one character. After a change the target's own move carries it.
struct TMove {
    std::uint8_t Target : 2;
    std::uint8_t Shifted : 1;
};

class TOptimiser {
public:
    explicit TOptimiser(std::string_view message)
        : FMessage(message), FCost(message.size() + 1), FMoves(message.size()) {
        FCost.back().fill(0);
        for (std::size_t i = message.size(); i-- > 0;) {
            Weigh(i);
        }
    }

    // The start set of the fewest symbol characters.
    TSet Start() const {
        TSet start = Preference[0];
        for (const TSet set : Preference) {
            if (FCost[0][set] < FCost[0][start]) {
                start = set;
            }
        }
        return start;
    }

    // The symbol characters after the start, following the cheapest moves from the start set.
    std::vector<int> Values(TSet set) const {
        std::vector<int> values;
        values.reserve(static_cast<std::size_t>(FCost[0][set]));
        for (std::size_t i = 0; i < FMessage.size();) {
            if (FMoves[i][set].Target != set) {
                set = static_cast<TSet>(FMoves[i][set].Target);
                values.push_back(ChangeTo[set]);
            }
            if (set == SetC) {
                if (FMessage[i] == Fnc1) {
                    values.push_back(Fnc1Value);
                    i += 1;
                } else {
                    values.push_back((FMessage[i] - '0') * 10 + (FMessage[i + 1] - '0'));
                    i += 2;
                }
            } else if (FMoves[i][set].Shifted) {
                values.push_back(ShiftValue);
                values.push_back(ValueIn(set == SetA ? SetB : SetA, FMessage[i]));
                i += 1;
            } else {
                values.push_back(ValueIn(set, FMessage[i]));
                i += 1;
            }
        }
        return values;
    }

private:
    // The least cost of the message from position i on, in each set, from the costs after it:
    // first staying in the set (shifting where it lacks the character), then changing set.
    void Weigh(std::size_t i) {
        std::array<int, 3> stay{};
        for (const TSet set : {SetA, SetB}) {
            const bool shifted = ValueIn(set, FMessage[i]) < 0;
            stay[set] = (shifted ? 2 : 1) + FCost[i + 1][set];
            FMoves[i][set] = {set, shifted};
        }
        stay[SetC] = Unreachable;
        FMoves[i][SetC] = {SetC, false};
        if (FMessage[i] == Fnc1) {
            stay[SetC] = 1 + FCost[i + 1][SetC];
        } else if (i + 1 < FMessage.size() && IsDigit(FMessage[i]) && IsDigit(FMessage[i + 1])) {
            stay[SetC] = 1 + FCost[i + 2][SetC];
        }
        for (const TSet set : {SetA, SetB, SetC}) {
            FCost[i][set] = stay[set];
            for (const TSet target : Preference) {
                if (1 + stay[target] < FCost[i][set]) {
                    FCost[i][set] = 1 + stay[target];
                    FMoves[i][set].Target = target;
                }
            }
        }
    }

    std::string_view FMessage;
    std::vector<std::array<int, 3>> FCost;
    std::vector<std::array<TMove, 3>> FMoves;
};

} // namespace

std::string Code128::OptimalPattern(std::string_view message) {
    const TOptimiser optimiser(message);
    const TSet start = optimiser.Start();
    return Pattern(Starts[start], optimiser.Values(start));
}

std::string TBarcode::EncodeCode128Auto() const {
    for (std::size_t i = 0; i < FText.size(); ++i) {
        if (static_cast<unsigned char>(FText[i]) > 0x7F) {
            RaiseBadCharacter(i, "is not in Code 128 set A or B");
        }
    }
    return Code128::OptimalPattern(FText);
}
