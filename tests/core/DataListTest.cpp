#include "DataList.h"

#include "Testing.h"

namespace {

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

} // namespace
