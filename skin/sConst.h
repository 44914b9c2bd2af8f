#pragma once

#include <cstdint>

// Types and codes shared by the styles and the skinned controls.

// A share in percent, 0..100, held in one byte. Setters taking a TPercent ignore values above 100.
using TPercent = std::uint8_t;

enum TsControlBevel : std::uint8_t {
    cbNone,
    cbRaisedSoft,
    cbLoweredSoft,
    cbRaisedHard,
    cbLoweredHard
};
enum TsEditorBevel : std::uint8_t { ebNone, ebRaised, ebLowered, ebAsTopBorder, ebAsBottomBorder };
enum TsPredefinedBorders : std::uint8_t {
    pdBorder1,
    pdBorder2,
    pdBorder3,
    pdBorder4,
    pdBorder5,
    pdBorder6,
    pdCustom
};
enum TsCaptionLayout : std::uint8_t { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

// TModeSelection is a set of these, one bit each.
enum TModeSelectionItem : std::uint8_t { msBorder = 1, msColor = 2 };
using TModeSelection = std::uint8_t;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TCheckAreaLayout : std::uint8_t { calLeft, calRight };

// The control kind code a control's constructor gives its style; the style's rules ask for it.
inline constexpr int ckEdit = 3;
inline constexpr int ckCheckedControl = 31;
inline constexpr int ckCheckBox = 32;
inline constexpr int ckRadioButton = 33;
inline constexpr int ckButtonControl = 91;
inline constexpr int ckButton = 93;

inline constexpr bool IsButtonKind(int kind) {
    return kind == ckButtonControl || kind == ckButton;
}
