#include "DataList.h"

#include "Testing.h"

#include <cctype>

namespace {

// Every file of the list in dir "d": "name=data", its position counted from 1.
std::vector<std::string> Files(const std::string& text, const TListOptions& options = {}) {
    const TDataList list(text, options, "d", "bmp");
    std::vector<std::string> files;
    const std::unique_ptr<TBatchReader> reader = list.Read();
    TBatchItem item;
    while (reader->Next(item)) {
        EXPECT_EQ(item.Position, static_cast<std::int32_t>(files.size() + 1));
        EXPECT_EQ(item.FileName.substr(0, 2), "d/");
        files.push_back(item.FileName.substr(2) + "=" + item.Data);
    }
    EXPECT_EQ(list.Count(), static_cast<std::int64_t>(files.size()));
    return files;
}

// The lines of the list's refusal, data with a digit refused as the symbology would refuse it.
std::vector<std::string> Refusal(const std::string& text, const TListOptions& options = {}) {
    try {
        TDataList(text, options, "d", "bmp").Check([](const std::string& data) {
            if (data.find_first_of("0123456789") != std::string::npos) {
                throw Exception("bad Data <" + data + ">");
            }
        });
    } catch (const EListRefused& e) {
        return e.Lines();
    }
    return {};
}

TListOptions Csv(const std::string& column, const std::string& name = "", char delimiter = ',') {
    return {
        .Column = column, .Header = !std::isdigit(column[0]), .Delimiter = delimiter, .Name = name};
}

} // namespace

// Lines and records become data and file names: the line or record number, padded to the last
// one's width on request; data and columns made safe as names.
TEST(DataList, ReadsDataAndNamesTheirFiles) {
    const std::string cut = std::string(199, 'a') + "\xC3\xA9"; // é would end at byte 201
    const std::pair<std::pair<std::string, TListOptions>, std::vector<std::string>> rows[] = {
        // A byte-order mark, CRLF, an empty line keeping the numbers after it, spaces kept, a
        // last line without a newline.
        {{"\xEF\xBB\xBF"
          "ab\r\n\r\n c \nx\ry\n\nz",
          {}},
         {"code_1.bmp=ab", "code_3.bmp= c ", "code_4.bmp=x\ry", "code_6.bmp=z"}},
        {{"a\nb\nc\nd\ne\nf\ng\nh\ni\nj\n", {.Name = "{n:0}-{n}.png"}},
         {"01-1.png=a", "02-2.png=b", "03-3.png=c", "04-4.png=d", "05-5.png=e", "06-6.png=f",
          "07-7.png=g", "08-8.png=h", "09-9.png=i", "10-10.png=j"}},
        // A slash, a dot file, a leading dash, control characters and a stray byte; the cut
        // falls before a character it would split.
        {{"a/b\n.profile\n-rf\nt\x1B[2Jx\xC2\x85y\xFFz\n" + cut + "\n", {.Name = "{data}"}},
         {"a_b=a/b", "_profile=.profile", "_rf=-rf", "t_[2Jx_y_z=t\x1B[2Jx\xC2\x85y\xFFz",
          std::string(199, 'a') + "=" + cut}},
        // CSV: quoted fields with the delimiter, doubled quotes and a line break; a header names
        // the columns; records count after it; an empty line is no record.
        {{"sku,gtin\r\n\"A,1\",\"say \"\"hi\"\"\"\r\n\r\nB,\"two\nlines\"\r\nC, ",
          Csv("gtin", "{col:sku}-{n}")},
         {"A,1-1=say \"hi\"", "B-2=two\nlines", "C-3= "}},
        {{"x;y\n1;2\n", Csv("2", "{n}_{col:1}.svg", ';')}, {"1_x.svg=y", "2_1.svg=2"}},
        {{"x\ty\n", Csv("1", "", '\t')}, {"code_1.bmp=x"}},
    };
    for (const auto& [input, files] : rows) {
        EXPECT_EQ(Files(input.first, input.second), files) << input.first;
    }
}

// Everything that cannot be written is found before the first file: each refused line by its
// number, the first twenty, then how many more.
TEST(DataList, RefusesWholeListsLineByLine) {
    const auto lines = [](std::vector<std::string> refused, std::size_t count) {
        refused.push_back(std::to_string(count) +
                          (count == 1 ? " line of the list is" : " lines of the list are") +
                          " refused; no file is written");
        return refused;
    };
    std::string many;
    for (int i = 1; i <= 23; ++i) {
        many += 'x';
        many += std::to_string(i);
        many += '\n';
    }
    std::vector<std::string> first20;
    for (int i = 1; i <= 20; ++i) {
        first20.push_back("line " + std::to_string(i) + ": bad Data <x" + std::to_string(i) + ">");
    }
    first20.push_back("and 3 more");
    const std::pair<std::pair<std::string, TListOptions>, std::vector<std::string>> rows[] = {
        {{"a\nb1\nc\n\nd2\ne\n", {}}, lines({"line 2: bad Data <b1>", "line 5: bad Data <d2>"}, 2)},
        {{many, {}}, lines(first20, 23)},
        {{"sku\nb\na1\n", Csv("sku")}, lines({"line 3: bad Data <a1>"}, 1)},
        // Names: the same twice (the later line refused), a directory's, empty, too long.
        {{"a\nb\nA\nc\n", {.Name = "{data}.bmp"}}, {}},
        {{"a\nb\na\nc\na\n", {.Name = "x{data}"}},
         lines({"line 3: the file name xa is also the name of line 1",
                "line 5: the file name xa is also the name of line 1"},
               2)},
        {{"a\nb\n", {.Name = "."}},
         lines({"line 1: the file name \".\" names a directory",
                "line 2: the file name \".\" names a directory"},
               2)},
        {{"a,\n", Csv("1", "{col:2}")}, lines({"line 1: the file name is empty"}, 1)},
        {{"a,b\n,c\n", Csv("1")}, lines({"line 2: column 1 is empty"}, 1)},
        {{"a,b\n", Csv("1", "{col:3}")},
         lines({"line 1: the record has 2 fields, no column 3"}, 1)},
        {{"a\n", {.Name = std::string(100, 'n') + "{data}" + std::string(156, 'n')}},
         lines({"line 1: the file name is 257 bytes long, at most 255"}, 1)},
        // Records that cannot be read.
        {{"a,b\nc\n\"d\"e,f\n\"g,\nh", Csv("2")},
         lines({"line 2: the record has 1 field, no column 2",
                "line 3: the quoted field 1 has more after its closing quote",
                "line 4: a quoted field is not closed before the end of the list"},
               3)},
    };
    for (const auto& [input, refused] : rows) {
        EXPECT_EQ(Refusal(input.first, input.second), refused) << input.first;
    }
    EXPECT_EQ(Refusal("sku\na\n", Csv("gtin")),
              (std::vector<std::string>{"line 1: the header has no column gtin"}));
}

// Options that cannot name a list's files are refused before it is read.
TEST(DataList, RefusesOptionsThatCannotWork) {
    const std::pair<TListOptions, std::string> rows[] = {
        {{.Name = "../{n}.bmp"}, "--name makes file names in --dir; it may not hold a '/'"},
        {{.Name = "{date}"},
         "--name has an unknown field {date}; the fields are {n}, {n:0}, {data} and {col:NAME}"},
        {{.Name = "a{n"}, "--name has a field that is not closed: {n"},
        {{.Name = "{col:sku}"}, "--name's {col:sku} reads a CSV column; add --column"},
        {{.Column = "1", .Name = "{col:sku}"}, "--name's {col:sku} names a column; add --header"},
        {{.Column = "sku"},
         "--column takes a number from 1, or with --header a column's name, not 'sku'"},
        {{.Column = "0"},
         "--column takes a number from 1, or with --header a column's name, not '0'"},
        {{.Header = true}, "--header and --delimiter read CSV; add --column"},
        {{.Delimiter = ';'}, "--header and --delimiter read CSV; add --column"},
        {{.Column = "1", .Delimiter = '"'}, "--delimiter cannot be a quote or a line break"},
        {{.Column = "1", .Name = "{col:2}{n:0}{data}"}, ""},
    };
    for (const auto& [options, refusal] : rows) {
        EXPECT_EQ(ListOptionsRefusal(options), refusal) << options.Name;
    }
}

// The first record of a CSV list is read as the list reads its header: the byte-order mark and
// empty lines before it skipped, quoted fields whole, the delimiter asked for only.
TEST(DataList, FirstRecordIsReadAsTheListReadsIt) {
    using Fields = std::vector<std::string>;
    const std::tuple<std::string_view, char, Fields> cases[] = {
        {"sku,name\r\n1,a\r\n", ',', {"sku", "name"}},
        {"\xEF\xBB\xBF\n\r\nsku;name;\n", ';', {"sku", "name", ""}},
        {"\"a,\"\"b\"\"\nc\",d\n", ',', {"a,\"b\"\nc", "d"}},
        {"a;b\tc", '\t', {"a;b", "c"}},
        {"a,b", ';', {"a,b"}},
        {"", ',', {}},
        {"\n\r\n", ',', {}},
    };
    for (const auto& [text, delimiter, fields] : cases) {
        EXPECT_EQ(ListFirstRecord(text, delimiter), fields) << text;
    }
}
