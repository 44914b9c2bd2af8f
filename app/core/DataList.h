#pragma once

#include "Batch.h"
#include "Exception.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How a list file is read and its files are named.
struct TListOptions {
    // Empty for plain text, one datum a line. Otherwise the list is CSV and the data are in this
    // column: its number from 1, or with Header its name in the first record.
    std::string Column{};
    bool Header = false;
    char Delimiter = ',';
    // The file name of each datum, its fields {n}, {n:0}, {data} and {col:NAME} (or {col:N})
    // filled in; empty for "code_{n}." and the extension.
    std::string Name{};
};

// The most bytes a datum or a column gives a file name.
inline constexpr std::size_t MaxNameField = 200;
// The most bytes of a file name in the directory.
inline constexpr std::size_t MaxFileName = 255;
// The refused lines a refusal names; the others are counted.
inline constexpr std::size_t RefusalsShown = 20;

// The text made safe as a part of a file name: "/", NUL, control characters and bytes that
// start no UTF-8 character become "_", and so does a "." or "-" at its start; cut to
// MaxNameField bytes where a character ends.
std::string SafeNameField(std::string_view text);

// What is wrong with the options before a list is read, in one line ("--name has an unknown
// field {date}; ..."), or an empty text.
std::string ListOptionsRefusal(const TListOptions& options);

// The lines of a list that cannot be written, one refusal a line of the message: the first
// RefusalsShown as "line 17: " and the reason, then how many more there are and that no file
// is written.
class EListRefused : public Exception {
public:
    explicit EListRefused(std::vector<std::string> lines);
    const std::vector<std::string>& Lines() const { return FLines; }

private:
    std::vector<std::string> FLines;
};

// The data of a list file and the names of their files in a directory. The file's text is held
// once; its records are read from it as they are asked for.
class TDataList : public TBatchData {
public:
    // Plain text: one datum a line, "\n" or "\r\n", a final line without a newline counted, a
    // UTF-8 byte-order mark skipped; empty lines are skipped and the numbers of the lines after
    // them stay their line numbers. CSV (RFC 4180) with a column: quoted fields with doubled
    // quotes and line breaks; empty lines are skipped; with Header the first record names the
    // columns. {n} is the datum's line, or its record after the header; raises EListRefused
    // when the header lacks a column named in the options. The options pass ListOptionsRefusal.
    TDataList(std::string text, const TListOptions& options, std::string_view directory,
              std::string_view extension);
    ~TDataList() override;

    std::int64_t Count() const override;
    // Each datum at its position from 1, its file the directory, the separator and its name.
    std::unique_ptr<TBatchReader> Read() const override;

    // The datum with the most bytes, the first of them: the one with the largest file.
    std::string Longest() const;
    // Checks every datum with check, which raises the symbology's refusal, and every file name:
    // not empty, "." or "..", at most MaxFileName bytes, the name of no other datum. Raises
    // EListRefused when any line is refused.
    void Check(const std::function<void(const std::string& data)>& check) const;

private:
    std::unique_ptr<const struct TListText> FText;
};

class TBarcode;

// Checks every datum of the list as the code image encodes it with barcode set to the symbology
// of typeText (a symbology list text; another keeps the barcode's Typ): raises EListRefused.
void CheckCodeImageData(const TDataList& list, const TBarcode& barcode, std::string_view typeText);

// The whole text of a list file; "-" reads standard input. Raises "Cannot open file %s: %s" or
// "Stream read error: %s: %s" (the name, the system's reason).
std::string ReadListFile(const std::string& name);

// ReadListFile, then the list; raises "The list %s holds no data" for a list without a datum.
std::unique_ptr<TDataList> LoadDataList(const std::string& name, const TListOptions& options,
                                        std::string_view directory, std::string_view extension);

// The text after the UTF-8 byte-order mark at its start, which a list skips.
std::string_view WithoutByteOrderMark(std::string_view text);

// The fields of a CSV list's first record, read as the list reads them: after a byte-order mark
// and empty lines, quoted fields with doubled quotes and line breaks. None when the text holds no
// record; of a record the list refuses, what could be read of it.
std::vector<std::string> ListFirstRecord(std::string_view text, char delimiter);
