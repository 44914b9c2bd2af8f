#include "DataList.h"

#include "Barcode.h"
#include "NumberText.h"
#include "Stream.h"
#include "SymbologyNames.h"
#include "Utf8.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace {

enum class TField { Text, N, PaddedN, Data, Column };

// A piece of the name template: literal text, or a field (a column by its name in Text, or by
// its index in Column).
struct TNamePart {
    TField Field = TField::Text;
    std::string Text;
    std::optional<std::size_t> Column;
};

// The column of a --column text or a {col:} field: its number from 1.
std::optional<std::size_t> ColumnNumber(std::string_view text) {
    std::size_t column = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || std::from_chars(text.data(), end, column).ptr != end || column == 0) {
        return std::nullopt;
    }
    return column - 1;
}

// The pieces of a template, or the usage error in error.
std::vector<TNamePart> ParseTemplate(std::string_view text, std::string& error) {
    std::vector<TNamePart> parts;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '{') {
            const std::size_t end = std::min(text.find('{', i), text.size());
            parts.push_back({TField::Text, std::string(text.substr(i, end - i)), {}});
            i = end;
            continue;
        }
        const std::size_t close = text.find('}', i);
        if (close == std::string_view::npos) {
            error = "--name has a field that is not closed: " + std::string(text.substr(i));
            return {};
        }
        const std::string_view field = text.substr(i, close - i + 1);
        const std::string_view inner = field.substr(1, field.size() - 2);
        TNamePart part;
        if (inner == "n") {
            part.Field = TField::N;
        } else if (inner == "n:0") {
            part.Field = TField::PaddedN;
        } else if (inner == "data") {
            part.Field = TField::Data;
        } else if (inner.starts_with("col:") && inner.size() > 4) {
            part.Field = TField::Column;
            part.Text = inner.substr(4);
            part.Column = ColumnNumber(part.Text);
        } else {
            error = "--name has an unknown field " + std::string(field) +
                    "; the fields are {n}, {n:0}, {data} and {col:NAME}";
            return {};
        }
        parts.push_back(std::move(part));
        i = close + 1;
    }
    return parts;
}

} // namespace

std::string SafeNameField(std::string_view text) {
    std::string safe;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharLength(text, i);
        const std::string_view ch = text.substr(i, length);
        i += length;
        const auto lead = static_cast<unsigned char>(ch[0]);
        const bool stray = length == 1 && lead >= 0x80;
        // C0 and DEL, and C1: U+0080 to U+009F, C2 80 to C2 9F.
        const bool control = lead < 0x20 || lead == 0x7F ||
                             (lead == 0xC2 && static_cast<unsigned char>(ch[1]) <= 0x9F);
        const bool replaced =
            stray || control || ch == "/" || (safe.empty() && (ch == "." || ch == "-"));
        const std::size_t size = replaced ? 1 : ch.size();
        if (safe.size() + size > MaxNameField) {
            break;
        }
        safe += replaced ? std::string_view("_") : ch;
    }
    return safe;
}

std::string ListOptionsRefusal(const TListOptions& options) {
    if (options.Name.find('/') != std::string::npos) {
        return "--name makes file names in --dir; it may not hold a '/'";
    }
    std::string error;
    const std::vector<TNamePart> parts = ParseTemplate(options.Name, error);
    if (!error.empty()) {
        return error;
    }
    const bool csv = !options.Column.empty();
    if (!csv && (options.Header || options.Delimiter != ',')) {
        return "--header and --delimiter read CSV; add --column";
    }
    if (csv && !options.Header && !ColumnNumber(options.Column)) {
        return "--column takes a number from 1, or with --header a column's name, not '" +
               options.Column + "'";
    }
    if (options.Delimiter == '"' || options.Delimiter == '\n' || options.Delimiter == '\r') {
        return "--delimiter cannot be a quote or a line break";
    }
    for (const TNamePart& part : parts) {
        if (part.Field == TField::Column && !csv) {
            return "--name's {col:" + part.Text + "} reads a CSV column; add --column";
        }
        if (part.Field == TField::Column && !part.Column && !options.Header) {
            return "--name's {col:" + part.Text + "} names a column; add --header";
        }
    }
    return {};
}

EListRefused::EListRefused(std::vector<std::string> lines)
    : Exception([&] {
          std::string text;
          for (const std::string& line : lines) {
              text += text.empty() ? "" : "\n";
              text += line;
          }
          return text;
      }()),
      FLines(std::move(lines)) {}

namespace {

// One datum of the list as read from its text.
struct TRecord {
    std::uint64_t Line = 0; // where it starts
    std::int64_t N = 0;     // its line, or its record after the header
    std::string Data;
    // Of CSV, every field of the record.
    std::vector<std::string> Fields;
    // Why the record cannot be read; empty when it can.
    std::string Error;
};

// Where the reading of a list stands.
struct TListCursor {
    std::size_t Pos = 0;
    std::uint64_t Line = 1;
    std::int64_t Records = 0;
};

} // namespace

struct TListText {
    std::string Text;
    std::size_t Start = 0; // after the byte-order mark and the header
    std::uint64_t StartLine = 1;
    bool Csv = false;
    char Delimiter = ',';
    std::size_t DataColumn = 0;
    std::string ColumnName; // how the data column was asked for
    std::vector<TNamePart> Name;
    std::string Directory;
    std::int64_t Count = 0;
    std::size_t Width = 1; // of the last number

    TListCursor First() const { return {Start, StartLine, 0}; }
    // Reads the next record; false at the end of the text.
    bool Next(TListCursor& at, TRecord& record) const;
    bool NextLine(std::size_t& pos, std::uint64_t& line, TRecord& record) const;
    bool NextCsv(std::size_t& pos, std::uint64_t& line, TRecord& record) const;
    std::string FileName(const TRecord& record) const;
};

bool TListText::NextLine(std::size_t& pos, std::uint64_t& line, TRecord& record) const {
    while (pos < Text.size()) {
        const std::size_t newline = std::min(Text.find('\n', pos), Text.size());
        std::size_t end = newline;
        if (end > pos && end < Text.size() && Text[end - 1] == '\r') {
            --end;
        }
        record.Line = line++;
        const std::size_t start = pos;
        pos = newline + 1;
        if (end > start) {
            record.N = static_cast<std::int64_t>(record.Line);
            record.Data.assign(Text, start, end - start);
            return true;
        }
    }
    return false;
}

bool TListText::NextCsv(std::size_t& pos, std::uint64_t& line, TRecord& record) const {
    const auto lineEnd = [&](std::size_t at) {
        return at >= Text.size() || Text[at] == '\n' ||
               (Text[at] == '\r' && at + 1 < Text.size() && Text[at + 1] == '\n');
    };
    // Empty lines hold no record.
    while (pos < Text.size() && lineEnd(pos)) {
        pos += Text[pos] == '\r' ? 2 : 1;
        ++line;
    }
    if (pos >= Text.size()) {
        return false;
    }
    record.Line = line;
    record.Error.clear();
    std::size_t used = 0;
    for (;;) {
        if (record.Fields.size() <= used) {
            record.Fields.emplace_back();
        }
        std::string& field = record.Fields[used++];
        field.clear();
        if (pos < Text.size() && Text[pos] == '"') {
            ++pos;
            for (;;) {
                const std::size_t quote = Text.find('"', pos);
                if (quote == std::string::npos) {
                    record.Error = "a quoted field is not closed before the end of the list";
                    line += static_cast<std::uint64_t>(std::count(
                        Text.begin() + static_cast<std::ptrdiff_t>(pos), Text.end(), '\n'));
                    pos = Text.size();
                    record.Fields.resize(used);
                    return true;
                }
                line += static_cast<std::uint64_t>(
                    std::count(Text.begin() + static_cast<std::ptrdiff_t>(pos),
                               Text.begin() + static_cast<std::ptrdiff_t>(quote), '\n'));
                field.append(Text, pos, quote - pos);
                pos = quote + 1;
                if (pos < Text.size() && Text[pos] == '"') {
                    field += '"';
                    ++pos;
                    continue;
                }
                break;
            }
            if (!lineEnd(pos) && Text[pos] != Delimiter) {
                record.Error = "the quoted field " + std::to_string(used) +
                               " has more after its closing quote";
                const std::size_t newline = std::min(Text.find('\n', pos), Text.size());
                pos = newline;
            }
        } else {
            std::size_t end = pos;
            while (!lineEnd(end) && Text[end] != Delimiter) {
                ++end;
            }
            field.assign(Text, pos, end - pos);
            pos = end;
        }
        if (lineEnd(pos)) {
            if (pos < Text.size()) {
                pos += Text[pos] == '\r' ? 2 : 1;
            }
            ++line;
            break;
        }
        ++pos; // the delimiter
    }
    record.Fields.resize(used);
    return true;
}

bool TListText::Next(TListCursor& at, TRecord& record) const {
    if (!Csv) {
        record.Error.clear();
        return NextLine(at.Pos, at.Line, record);
    }
    if (!NextCsv(at.Pos, at.Line, record)) {
        return false;
    }
    record.N = ++at.Records;
    const auto missing = [&](const std::string& column) {
        const std::size_t fields = record.Fields.size();
        record.Error = "the record has " + std::to_string(fields) +
                       (fields == 1 ? " field" : " fields") + ", no column " + column;
    };
    if (record.Error.empty()) {
        if (DataColumn >= record.Fields.size()) {
            missing(ColumnName);
        } else if (record.Data = record.Fields[DataColumn]; record.Data.empty()) {
            // An empty cell is a datum missing from the export, not one to draw.
            record.Error = "column " + ColumnName + " is empty";
        }
    }
    for (const TNamePart& part : Name) {
        if (record.Error.empty() && part.Field == TField::Column && part.Column &&
            *part.Column >= record.Fields.size()) {
            missing(part.Text);
        }
    }
    return true;
}

std::string TListText::FileName(const TRecord& record) const {
    std::string name;
    for (const TNamePart& part : Name) {
        switch (part.Field) {
        case TField::Text:
            name += part.Text;
            break;
        case TField::N:
            name += std::to_string(record.N);
            break;
        case TField::PaddedN: {
            const std::string n = std::to_string(record.N);
            name.append(Width - std::min(Width, n.size()), '0');
            name += n;
            break;
        }
        case TField::Data:
            name += SafeNameField(record.Data);
            break;
        case TField::Column:
            if (part.Column && *part.Column < record.Fields.size()) {
                name += SafeNameField(record.Fields[*part.Column]);
            }
            break;
        }
    }
    return name;
}

namespace {

class TListReader : public TBatchReader {
public:
    explicit TListReader(const TListText& list) : FList(list), FAt(list.First()) {}

    bool Next(TBatchItem& item) override {
        if (!FList.Next(FAt, FRecord)) {
            return false;
        }
        item.Position = static_cast<std::int32_t>(++FPosition);
        item.Data = FRecord.Data;
        item.FileName = FList.Directory;
        item.FileName += PathSeparator;
        item.FileName += FList.FileName(FRecord);
        return true;
    }

private:
    const TListText& FList;
    TListCursor FAt;
    TRecord FRecord;
    std::int64_t FPosition = 0;
};

// A refusal as the list reports it: "line 17: " and the reason.
std::string OnLine(std::uint64_t line, const std::string& why) {
    return "line " + std::to_string(line) + ": " + why;
}

// The first refusals by their lines, and how many there are.
class TRefusals {
public:
    void Add(std::uint64_t line, const std::string& why) {
        ++FCount;
        FFirst.emplace(line, why);
        if (FFirst.size() > RefusalsShown) {
            FFirst.erase(std::prev(FFirst.end()));
        }
    }

    void Raise() const {
        if (FCount == 0) {
            return;
        }
        std::vector<std::string> lines;
        for (const auto& [line, why] : FFirst) {
            lines.push_back(OnLine(line, why));
        }
        if (FCount > FFirst.size()) {
            lines.push_back("and " + Grouped(FCount - FFirst.size()) + " more");
        }
        lines.push_back(Grouped(FCount) +
                        (FCount == 1 ? " line of the list is" : " lines of the list are") +
                        " refused; no file is written");
        throw EListRefused(std::move(lines));
    }

private:
    std::map<std::uint64_t, std::string> FFirst;
    std::uint64_t FCount = 0;
};

// Why a file name cannot be written in the directory; empty when it can.
std::string NameRefusal(const std::string& name) {
    if (name.empty()) {
        return "the file name is empty";
    }
    if (name == "." || name == "..") {
        return "the file name \"" + name + "\" names a directory";
    }
    if (name.size() > MaxFileName) {
        return "the file name is " + std::to_string(name.size()) + " bytes long, at most " +
               std::to_string(MaxFileName);
    }
    return {};
}

} // namespace

TDataList::TDataList(std::string text, const TListOptions& options, std::string_view directory,
                     std::string_view extension) {
    auto list = std::make_unique<TListText>();
    list->Text = std::move(text);
    list->Directory = directory;
    list->Csv = !options.Column.empty();
    list->Delimiter = options.Delimiter;
    std::string error;
    list->Name = ParseTemplate(
        options.Name.empty() ? "code_{n}." + std::string(extension) : options.Name, error);
    list->Start = list->Text.size() - WithoutByteOrderMark(list->Text).size();
    // A column named in the options is looked up in the header.
    const auto column = [&](std::string_view name, const std::vector<std::string>& header,
                            std::uint64_t line) -> std::size_t {
        if (const std::optional<std::size_t> number = ColumnNumber(name)) {
            return *number;
        }
        const auto found = std::find(header.begin(), header.end(), name);
        if (found == header.end()) {
            throw EListRefused({OnLine(line, "the header has no column " + std::string(name))});
        }
        return static_cast<std::size_t>(found - header.begin());
    };
    if (list->Csv) {
        std::vector<std::string> header;
        TListCursor at = list->First();
        TRecord record;
        record.Line = at.Line;
        if (options.Header && list->NextCsv(at.Pos, at.Line, record)) {
            if (!record.Error.empty()) {
                throw EListRefused({OnLine(record.Line, record.Error)});
            }
            header = std::move(record.Fields);
            list->Start = at.Pos;
            list->StartLine = at.Line;
        }
        // Without a header record the list holds no data, and no column is looked up.
        if (!options.Header || !header.empty()) {
            list->ColumnName = options.Column;
            list->DataColumn = column(options.Column, header, record.Line);
            for (TNamePart& part : list->Name) {
                if (part.Field == TField::Column) {
                    part.Column = column(part.Text, header, record.Line);
                }
            }
        }
    }
    TListCursor at = list->First();
    TRecord record;
    while (list->Next(at, record)) {
        ++list->Count;
    }
    list->Width = std::to_string(record.N).size();
    FText = std::move(list);
}

TDataList::~TDataList() = default;

std::int64_t TDataList::Count() const {
    return FText->Count;
}

std::unique_ptr<TBatchReader> TDataList::Read() const {
    return std::make_unique<TListReader>(*FText);
}

std::string TDataList::Longest() const {
    std::string longest;
    TListCursor at = FText->First();
    TRecord record;
    while (FText->Next(at, record)) {
        if (record.Data.size() > longest.size()) {
            longest = record.Data;
        }
    }
    return longest;
}

void TDataList::Check(const std::function<void(const std::string& data)>& check) const {
    TRefusals refusals;
    // Names made of the number and text alone differ as the numbers do. Otherwise the names'
    // hashes are kept, of the lines not refused otherwise: only names of equal hashes are
    // compared, so that a long list is checked without holding its names.
    const auto& parts = FText->Name;
    const bool numbered = std::any_of(parts.begin(), parts.end(), [](const TNamePart& part) {
        return part.Field == TField::N || part.Field == TField::PaddedN;
    });
    const bool fromData = std::any_of(parts.begin(), parts.end(), [](const TNamePart& part) {
        return part.Field == TField::Data || part.Field == TField::Column;
    });
    const bool compared = !numbered || fromData;
    std::vector<std::size_t> hashes;
    hashes.reserve(compared ? static_cast<std::size_t>(FText->Count) : 0);
    std::vector<bool> refused;
    refused.reserve(static_cast<std::size_t>(FText->Count));
    const std::hash<std::string_view> hash;
    TListCursor at = FText->First();
    TRecord record;
    while (FText->Next(at, record)) {
        std::string why = record.Error;
        std::string name;
        if (why.empty()) {
            try {
                check(record.Data);
            } catch (const Exception& e) {
                why = e.what();
            }
        }
        if (why.empty()) {
            name = FText->FileName(record);
            why = NameRefusal(name);
        }
        refused.push_back(!why.empty());
        if (!why.empty()) {
            refusals.Add(record.Line, why);
        } else if (compared) {
            hashes.push_back(hash(name));
        }
    }
    std::sort(hashes.begin(), hashes.end());
    std::unordered_set<std::size_t> shared;
    for (std::size_t i = 1; i < hashes.size(); ++i) {
        if (hashes[i] == hashes[i - 1]) {
            shared.insert(hashes[i]);
        }
    }
    hashes = {};
    if (!shared.empty()) {
        std::map<std::string, std::uint64_t, std::less<>> first;
        at = FText->First();
        for (std::size_t i = 0; FText->Next(at, record); ++i) {
            if (refused[i]) {
                continue;
            }
            std::string name = FText->FileName(record);
            if (!shared.contains(hash(name))) {
                continue;
            }
            const auto [found, added] = first.try_emplace(std::move(name), record.Line);
            if (!added) {
                refusals.Add(record.Line, "the file name " + found->first +
                                              " is also the name of line " +
                                              std::to_string(found->second));
            }
        }
    }
    refusals.Raise();
}

void CheckCodeImageData(const TDataList& list, const TBarcode& barcode, std::string_view typeText) {
    TBarcode check = barcode;
    if (const auto typ = FindSymbology(typeText)) {
        check.SetTyp(*typ);
    }
    list.Check([&](const std::string& data) {
        check.SetText(data);
        check.BuildPattern();
    });
}

std::string ReadListFile(const std::string& name) {
    const bool standardInput = name == "-";
    const int file = standardInput ? STDIN_FILENO : open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        throw Exception("Cannot open file " + EscapedFileName(name) + ": " + std::strerror(errno));
    }
    std::string text;
    struct stat status {};
    if (fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
        text.reserve(static_cast<std::size_t>(status.st_size));
    }
    const bool whole = ReadAll(file, text);
    const int error = errno;
    if (!standardInput) {
        close(file);
    }
    if (!whole) {
        throw Exception("Stream read error: " + EscapedFileName(name) + ": " +
                        std::strerror(error));
    }
    return text;
}

std::unique_ptr<TDataList> LoadDataList(const std::string& name, const TListOptions& options,
                                        std::string_view directory, std::string_view extension) {
    auto list = std::make_unique<TDataList>(ReadListFile(name), options, directory, extension);
    if (list->Count() == 0) {
        throw Exception("The list " + EscapedFileName(name) + " holds no data");
    }
    return list;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    constexpr std::string_view Mark = "\xEF\xBB\xBF";
    return text.starts_with(Mark) ? text.substr(Mark.size()) : text;
}

std::vector<std::string> ListFirstRecord(std::string_view text, char delimiter) {
    TListText list;
    list.Text = text;
    list.Csv = true;
    list.Delimiter = delimiter;
    TListCursor at{text.size() - WithoutByteOrderMark(text).size(), 1, 0};
    TRecord record;
    if (!list.NextCsv(at.Pos, at.Line, record)) {
        return {};
    }
    return record.Fields;
}
