// The two length tables: their edges, the cells they lack, the exact key match, and a
// check of every cell against the rule the scale settings follow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "link/length_tables.h"

namespace {

struct Edge {
    int type;
    float first;
    float last;
};

void expectColumnEdges(const LengthTable& table, Edge edge) {
    SCOPED_TRACE(testing::Message() << "type " << edge.type);
    EXPECT_TRUE(lookupLengthSetting(table, edge.type, edge.first).has_value());
    EXPECT_TRUE(lookupLengthSetting(table, edge.type, edge.last).has_value());
    EXPECT_FALSE(lookupLengthSetting(table, edge.type, edge.last + 0.5f).has_value());
    EXPECT_FALSE(lookupLengthSetting(table, edge.type, 0.125f).has_value());
}

bool same(std::optional<LengthSetting> found, int scaleTrim, int rangeCode) {
    return found && found->scaleTrim == scaleTrim && found->rangeCode == rangeCode;
}

TEST(LengthTables, EachColumnStartsAndEndsWhereItShould) {
    expectColumnEdges(calibrationLengthTable, {0, 0.25f, 5.0f});
    expectColumnEdges(calibrationLengthTable, {1, 0.25f, 3.0f});
    expectColumnEdges(calibrationLengthTable, {2, 0.25f, 11.0f});
    expectColumnEdges(defaultLengthTable, {0, 0.25f, 5.0f});
    expectColumnEdges(defaultLengthTable, {1, 0.25f, 1.5f});
    expectColumnEdges(defaultLengthTable, {2, 0.25f, 11.0f});

    EXPECT_TRUE(same(lookupLengthSetting(calibrationLengthTable, 0, 0.25f), 223, 3));
    EXPECT_TRUE(same(lookupLengthSetting(calibrationLengthTable, 0, 5.0f), 178, 8));
    EXPECT_TRUE(same(lookupLengthSetting(calibrationLengthTable, 1, 3.0f), 109, 0));
    EXPECT_TRUE(same(lookupLengthSetting(calibrationLengthTable, 2, 11.0f), 32, 8));
    EXPECT_TRUE(same(lookupLengthSetting(defaultLengthTable, 1, 0.25f), 157, 3));
    EXPECT_TRUE(same(lookupLengthSetting(defaultLengthTable, 1, 1.5f), 105, 1));
    EXPECT_TRUE(same(lookupLengthSetting(defaultLengthTable, 2, 11.0f), 36, 8));
    // The same length, two tables, two settings.
    EXPECT_TRUE(same(lookupLengthSetting(calibrationLengthTable, 2, 1.5f), 233, 8));
    EXPECT_TRUE(same(lookupLengthSetting(defaultLengthTable, 2, 1.5f), 133, 0));
}

TEST(LengthTables, NoEntryForMissingLengthsTypesOrInexactKeys) {
    for (const LengthTable* table : {&calibrationLengthTable, &defaultLengthTable}) {
        EXPECT_FALSE(lookupLengthSetting(*table, 0, 1.25f).has_value());
        EXPECT_FALSE(lookupLengthSetting(*table, 2, 0.75f).has_value());
        EXPECT_FALSE(lookupLengthSetting(*table, 3, 2.0f).has_value());
        EXPECT_FALSE(lookupLengthSetting(*table, -1, 2.0f).has_value());
        EXPECT_FALSE(lookupLengthSetting(*table, 0, std::nextafter(2.0f, 3.0f)).has_value());
        EXPECT_FALSE(lookupLengthSetting(*table, 0, 0.0f).has_value());
    }
    EXPECT_FALSE(lookupLengthSetting(calibrationLengthTable, 1, 3.5f).has_value());
    EXPECT_FALSE(lookupLengthSetting(defaultLengthTable, 1, 2.0f).has_value());
    EXPECT_TRUE(lookupLengthSetting(calibrationLengthTable, 1, 2.0f).has_value());
}

// scaleTrim x length is nearly constant within a column once the range code is allowed
// for: codes 0 to 3 halve it step by step and code 8 doubles code 0. A mistyped cell
// falls out of line.
TEST(LengthTables, EveryCellFollowsTheScaleRule) {
    for (const LengthTable* table : {&calibrationLengthTable, &defaultLengthTable}) {
        for (int type = 0; type < kGaugeTypes; ++type) {
            double low = 1e9, high = 0;
            for (const LengthRow& row : table->rows) {
                const LengthCell& cell = row.types[type];
                if (!cell.present)
                    continue;
                const int code = cell.setting.rangeCode;
                ASSERT_TRUE(code <= 3 || code == 8);
                const double scale = code == 8 ? 0.5 : std::ldexp(1.0, code);
                const double normalised = cell.setting.scaleTrim * row.length * scale;
                low = std::min(low, normalised);
                high = std::max(high, normalised);
            }
            EXPECT_LT(high / low, 1.025) << "type " << type;
        }
    }
}

TEST(LengthTables, LengthsShownAsWholeNumbersRoundHalvesUp) {
    EXPECT_EQ(wholeGaugeLength(6.0f), 6);
    EXPECT_EQ(wholeGaugeLength(3.5f), 4);
    EXPECT_EQ(wholeGaugeLength(1.5f), 2);
    EXPECT_EQ(wholeGaugeLength(0.5f), 1);
    EXPECT_EQ(wholeGaugeLength(0.25f), 0);
    EXPECT_EQ(wholeGaugeLength(NAN), 0);
}

}  // namespace
