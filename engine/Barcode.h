#pragma once

#include "Types.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TCanvas;

enum class TBarcodeType : std::uint8_t {
    bcCode_2_5_interleaved,
    bcCode_2_5_industrial,
    bcCode_2_5_matrix,
    bcCode39,
    bcCode39Extended,
    bcCode128A,
    bcCode128B,
    bcCode128C,
    bcCode93,
    bcCode93Extended,
    bcCodeMSI,
    bcCodePostNet,
    bcCodeCodabar,
    bcCodeEAN8,
    bcCodeEAN13,
    bcCode128,
    bcCodeGS1_128,
    bcCodeUPCA,
    bcCodeUPCE,
    bcCodeITF14,
};

inline constexpr int BarcodeTypeCount = 20;

// The caption of a symbology as the engine names it in captions and messages.
std::string_view BarcodeTypeCaption(TBarcodeType typ);

// Turns data into a pattern string (one character per bar or space) and paints it.
//
// Text is UTF-8. A symbol carries exactly its data: a character the symbology cannot carry is
// refused with the "bad Data" message, never dropped or replaced.
//
// Pattern alphabet: "0".."3" white, "5".."8" black, "A".."D" short black bar
// (2/5 of Height); the last digit of each group selects width slot 0..3.
class TBarcode {
public:
    TBarcode() = default;

    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v) { FText = v; }
    int Top() const { return FTop; }
    void SetTop(int v) { FTop = v; }
    int Left() const { return FLeft; }
    void SetLeft(int v) { FLeft = v; }
    int Modul() const { return FModul; }
    // Only 1..49 is stored; any other value is ignored.
    void SetModul(int v);
    double Ratio() const { return FRatio; }
    void SetRatio(double v) { FRatio = v; }
    TBarcodeType Typ() const { return FTyp; }
    void SetTyp(TBarcodeType v) { FTyp = v; }
    bool Checksum() const { return FChecksum; }
    void SetChecksum(bool v) { FChecksum = v; }
    bool ShowText() const { return FShowText; }
    void SetShowText(bool v) { FShowText = v; }
    double Angle() const { return FAngle; }
    void SetAngle(double v) { FAngle = v; }

    // Builds the pattern and paints it with its origin corner at (Left, Top).
    // The canvas's font, pen and brush are restored on every exit.
    void Render(TCanvas& canvas);

    std::string TypeCaption() const;

    // The line a symbology prints under its bars, for data BuildPattern accepts: the characters
    // encoded, with the check characters that the symbology prints and no others. EAN: every
    // digit of the code string, padding and check digit included; MSI: the data and its check
    // digit; UPC-A: its 12 digits; UPC-E: its 8; EAN and UPC with an add-on: then a space and the
    // add-on's digits; Code 128C and 2 of 5 interleaved: an odd count of digits with its leading
    // zero; ITF-14: the 14 digits of the GTIN, check digit included, in one run; every other
    // symbology: the data as it stands.
    std::string PrintedText() const;

    // Clamps Ratio for Typ (storing the clamped value) and fills the width slots.
    void ComputeElementWidths();
    // Width in pixels of slot 0..3, as of the last ComputeElementWidths.
    int ElementWidth(int slot) const { return FWidths[slot]; }

    // The pattern string of the current Typ, Text and Checksum.
    std::string BuildPattern();
    // Where a point of the symbol's own frame lands on the canvas: turned by Angle about the
    // origin corner, each coordinate rounded half to even, then moved to (Left, Top).
    TPoint PlacePoint(double px, double py) const;
    // Fills each element of the pattern, turned and placed as PlacePoint places its corners;
    // elements wholly outside the canvas's image are passed over.
    void PaintElements(std::string_view pattern, TCanvas& canvas) const;
    // What PaintElements paints black, in the symbol's own frame before turning and placing
    // (right and bottom exclusive); empty for a pattern without bars.
    TRect BarsExtent(std::string_view pattern) const;
    void PaintCaption(TCanvas& canvas) const;

    // "211412" -> "605351": each width digit 1..4 becomes a bar (odd position)
    // or a space (even position) of slot digit-1.
    static std::string WidthsToPattern(std::string_view widths);
    // WidthsToPattern appended to a pattern, without a string of its own.
    static void AppendWidths(std::string& pattern, std::string_view widths);

    std::string EncodeEan13() const;
    std::string EncodeEan8() const;
    // s ends in a placeholder; returns s with the placeholder replaced by the check digit.
    static std::string AppendEanCheckDigit(std::string_view s);
    // Digits typed with their check digit (GS1's modulo 10): returned as they are, or refused
    // with "check digit should be N" when the last one is not the right one.
    std::string CheckedEanDigits(std::string_view digits) const;

    std::string EncodeCode39() const;
    std::string EncodeCode39Extended();
    static int FindCode39Index(char ch);

    std::string EncodeCode93() const;
    std::string EncodeCode93Extended();
    static int FindCode93Index(char ch);

    std::string EncodeCode128() const;
    int FindCode128Index(char ch) const;
    // Code 128 with its sets, changes and shifts chosen for the fewest symbol characters.
    std::string EncodeCode128Auto() const;
    // GS1-128: application identifiers in the bracketed form, checked against the GS1 table.
    std::string EncodeGs1_128() const;

    // UPC-A: EAN-13's bars for a first digit of 0. Its check digit is always UPC's, whatever
    // Checksum says.
    std::string EncodeUpcA() const;
    // UPC-E: the six digits of a zero-suppressed UPC-A number, in sets chosen by the number system
    // and the check digit of that number, which is always UPC's, whatever Checksum says.
    std::string EncodeUpcE() const;
    // Interleaved 2 of 5 on 14 digits, the check digit GS1's: 13 digits get theirs, 14 must end
    // in the right one. ITF-14 always carries it, so Checksum has no say.
    std::string EncodeItf14() const;

    std::string EncodeInterleaved2of5() const;
    std::string EncodeIndustrial2of5() const;
    std::string EncodeMatrix2of5() const;

    std::string EncodeCodabar() const;
    static int FindCodabarIndex(char ch);
    std::string EncodeMsi() const;
    static int DigitSum(int v);
    // The published modulo 10 check digit of MSI over decimal digits.
    static int MsiCheckDigit(std::string_view digits);
    std::string EncodePostNet() const;

    // One or two characters of a base symbology for each character code 0..127.
    using TFullAsciiTable = std::array<std::string_view, 128>;

private:
    // Runs a base encoder over the full ASCII expansion of Text, refusing characters beyond
    // ASCII, and puts Text back on every exit.
    std::string EncodeFullAscii(const TFullAsciiTable& table,
                                std::string (TBarcode::*encode)() const);
    // Code 93 with the four shift characters as ordinary characters, as the full ASCII
    // expansion writes them.
    std::string EncodeCode93Shifted() const;
    // The digits of an EAN or UPC symbol: Text up to a "+", which puts an add-on after them.
    std::string_view EanMainData() const;
    // The add-on after the "+" of EAN and UPC data, with the gap before it: EAN-2 or EAN-5;
    // empty without a "+". Refuses a second "+", a non-digit and any count of digits but 2 and 5.
    std::string AddOnPattern() const;
    // A space and the add-on's digits, or nothing without a "+".
    std::string AddOnText() const;
    // The EAN code string of `length` digits, the check digit last.
    std::string EanCode(std::size_t length) const;
    // The 14 digits ITF-14 encodes, the check digit last.
    std::string Itf14Digits() const;
    // The bars and spaces of interleaved 2 of 5 between its start and stop, the digits in pairs;
    // an odd count gets a leading zero.
    static std::string InterleavedPattern(std::string_view digits);
    // UPC-A's 12 digits: 11 given their check digit, or 12 ending in the right one.
    std::string UpcACode() const;
    // UPC-E's 8 digits (number system, six digits, check digit) of 6 digits (number system 0), 7
    // (number system 0 or 1 first), 8 (with the check digit) or the 11 or 12 of a UPC-A number
    // that the zero-suppression table can write in six.
    std::string UpcECode() const;

    // "TBarcode:" + caption + " bad Data <" + Text + ">", for data the symbology cannot carry,
    // then ": " and the reason when one is given.
    [[noreturn]] void RaiseBadData(std::string_view reason = {}) const;
    // Refuses the character that starts at byte i of Text: its place, the character, and what
    // is wrong with it ("is not a digit").
    [[noreturn]] void RaiseBadCharacter(std::size_t i, std::string_view what) const;
    // The place and the character that starts at byte i of Text, as refusals name them
    // ("character 3 \"a\"").
    std::string NameCharacter(std::size_t i) const;
    // Refuses the first character of Text from byte `from` up to byte `to` that is not a decimal
    // digit, if any.
    void RequireDigits(std::size_t from = 0, std::size_t to = std::string::npos) const;

    int FHeight = 0;
    std::string FText;
    int FTop = 0;
    int FLeft = 0;
    int FModul = 1;
    double FRatio = 2.0;
    TBarcodeType FTyp = TBarcodeType::bcCodeEAN13;
    bool FChecksum = false;
    bool FShowText = false;
    double FAngle = 0.0;
    std::array<int, 4> FWidths{};
};
