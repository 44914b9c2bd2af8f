#include "ListColumnDialog.h"

#include "sCheckbox.h"

#include "Testing.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>

namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

// The dialog starts with the delimiter a tab-separated list has or the first line holds most of,
// the header box checked when the first record holds more than digits, and the columns by their
// names then, else by their numbers.
TEST(ListColumnDialog, StartsWithWhatTheFirstLineSuggests) {
    const std::tuple<std::string_view, bool, QString, bool, QStringList> cases[] = {
        {"sku;name;price\r\n4006381333931;Pen;1,20\r\n",
         false,
         "Semicolon",
         true,
         {"sku", "name", "price"}},
        {"\n4006381333931,5901234123457\n", false, "Comma", false, {"1", "2"}},
        {"a,b;c;d\n", false, "Semicolon", true, {"a,b", "c", "d"}},
        {"a,b;c\td\n", true, "Tab", true, {"a,b;c", "d"}},
        {"\xEF\xBB\xBF\"x\ty\"\t\tz\n", false, "Tab", true, {"x\ty", "2", "z"}},
        {"only\n", false, "Comma", true, {"only"}},
    };
    for (const auto& [text, tabSeparated, delimiter, header, columns] : cases) {
        SCOPED_TRACE(text);
        const TListColumnDialog dialog(nullptr, text, tabSeparated);
        EXPECT_EQ(dialog.windowTitle(), "Column of the data");
        EXPECT_EQ(dialog.DelimiterBox->currentText(), delimiter);
        EXPECT_EQ(dialog.Header->Checked(), header);
        EXPECT_EQ(Items(dialog.ColumnBox), columns);
        EXPECT_EQ(dialog.ColumnBox->currentIndex(), 0);
    }
}

// The first five lines are shown as they are; the columns follow the header box and the
// delimiter, the column chosen kept where the first record still has it; the options name the
// column by its number.
TEST(ListColumnDialog, ColumnsFollowTheDelimiterAndTheHeader) {
    const std::string text = "sku;name;price\r\n1;Pen;1,20\r\n2;Ink;3\r\n\r\n3;Nib;4\n4;Cap;5\n";
    TListColumnDialog dialog(nullptr, text, false);
    dialog.show();
    EXPECT_EQ(dialog.Preview->toPlainText(), "sku;name;price\n1;Pen;1,20\n2;Ink;3\n\n3;Nib;4");
    EXPECT_TRUE(dialog.Preview->isReadOnly());
    dialog.ColumnBox->setCurrentIndex(1);
    const auto options = [&] {
        const TListOptions got = dialog.Options();
        return std::tuple(got.Column, got.Header, got.Delimiter, got.Name);
    };
    EXPECT_EQ(options(), std::tuple("2", true, ';', ""));
    QTest::mouseClick(dialog.Header, Qt::LeftButton);
    EXPECT_EQ(Items(dialog.ColumnBox), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(options(), std::tuple("2", false, ';', ""));
    dialog.DelimiterBox->setCurrentText("Comma");
    EXPECT_EQ(Items(dialog.ColumnBox), (QStringList{"1"}));
    EXPECT_EQ(options(), std::tuple("1", false, ',', ""));
    dialog.DelimiterBox->setCurrentText("Semicolon");
    QTest::mouseClick(dialog.Header, Qt::LeftButton);
    EXPECT_EQ(Items(dialog.ColumnBox), (QStringList{"sku", "name", "price"}));
    EXPECT_EQ(options(), std::tuple("1", true, ';', ""));
}

} // namespace
