// The Message text of a row both ways, and what a value cell accepts.
#include <gtest/gtest.h>

#include "datatable/row_text.h"

using namespace zel;

namespace {

DataTable oneRow(std::initializer_list<int32_t> values) {
    DataTable table;
    table.resize(1, static_cast<int32_t>(values.size()));
    int32_t k = 1;
    for (int32_t v : values) table.setValue(1, k++, v);
    return table;
}

std::vector<int32_t> rowOf(const DataTable& table) {
    std::vector<int32_t> values;
    for (int32_t k = 1; k <= table.columns(); ++k) values.push_back(table.value(1, k));
    return values;
}

}  // namespace

TEST(RowText, ShowsPrintableCodesAndAMiddleDotForTheRest) {
    const struct {
        std::initializer_list<int32_t> values;
        QString text;
    } cases[] = {
        {{65, 66, 67}, QStringLiteral("ABC ")},
        {{7, 300}, QStringLiteral("\u00B7\u00B7 ")},
        {{31, 32, 126, 127}, QStringLiteral("\u00B7 ~\u00B7 ")},
    };
    for (const auto& c : cases) EXPECT_EQ(RowToText(oneRow(c.values), 1), c.text);
}

TEST(RowText, WritesTextBackLeavingMiddleDotsAndMissingCharacters) {
    const struct {
        std::initializer_list<int32_t> before;
        QString text;
        std::vector<int32_t> after;
    } cases[] = {
        {{0, 66}, QStringLiteral("A"), {65, 66}},
        {{300, 5}, QStringLiteral("\u00B7Z"), {300, 90}},
        {{400, 66}, QStringLiteral(" B and more"), {32, 66}},
    };
    for (const auto& c : cases) {
        DataTable table = oneRow(c.before);
        TextToRow(table, 1, c.text);
        EXPECT_EQ(rowOf(table), c.after) << c.text.toStdString();
    }
}

TEST(RowText, ACellTakesOnly0To65535) {
    const struct {
        QString text;
        bool stored;
        int32_t value;
    } cases[] = {
        {QStringLiteral("70000"), false, 11},
        {QStringLiteral("99999999999999999999"), false, 11},
        {QStringLiteral("65535"), true, 65535},
        {QStringLiteral("0"), true, 0},
        {QString(), true, 0},
    };
    for (const auto& c : cases) {
        DataTable table = oneRow({11});
        EXPECT_EQ(applyCellText(table, 1, 1, c.text), c.stored) << c.text.toStdString();
        EXPECT_EQ(table.value(1, 1), c.value) << c.text.toStdString();
    }
}
