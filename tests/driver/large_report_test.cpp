// Reports of many parts on every side number and in every class: every row must appear once,
// in the order and the groups its format gives.
#include <gtest/gtest.h>

#include "test_support.h"

#include <string>
#include <vector>

#include "driver/columns.h"
#include "driver/csv.h"
#include "driver/listing.h"
#include "report_fixture.h"

namespace {

constexpr size_t PART_COUNT = 5000;

// Parts on the top, the bottom and an odd bottom side number, in all classes, some excluded.
void add_many_parts(ReportFixture& fixture) {
    fixture.project.parts.reserve(PART_COUNT);
    for (size_t i = 0; i < PART_COUNT; ++i) {
        PartRecord& part = fixture.add(numbered("P", i), 0.001 * static_cast<double>(i), 1.0, 90,
                                       static_cast<unsigned>(i % 3), static_cast<int>(i / 3 % 4));
        part.excluded = i % 11 == 5 ? 1 : 0;
    }
}

// The designators of the report's rows, in the order they stand: every line's first field
// that is "P" and a number (a designator column comes first in every format here).
std::vector<std::string> row_designators(const std::string& report, char field_end) {
    std::vector<std::string> designators;
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start);
        if (end == std::string::npos) end = report.size();
        std::string line = report.substr(start, end - start);
        if (!line.empty() && line[0] == '"') line = line.substr(1);
        if (line.size() > 1 && line[0] == 'P' && line[1] >= '0' && line[1] <= '9') designators.push_back(line.substr(0, line.find(field_end)));
        start = end + 1;
    }
    return designators;
}

// The designators a report lists: sides, then classes, when grouped; else in table order.
std::vector<std::string> expected_designators(const PartTable& parts, bool grouped, bool any_nonzero_is_bottom,
                                              bool with_excluded) {
    std::vector<std::string> designators;
    auto take = [&](auto wanted) {
        for (const PartRecord& part : parts)
            if ((with_excluded || part.excluded == 0) && wanted(part)) designators.push_back(part.ref_des);
    };
    if (!grouped) {
        take([](const PartRecord&) { return true; });
        return designators;
    }
    for (unsigned side : {0u, 1u})
        for (int technology = TECH_SMD; technology <= TECH_NULL; ++technology)
            take([&](const PartRecord& part) {
                bool on_side = any_nonzero_is_bottom ? (part.side != 0) == (side != 0) : part.side == side;
                return on_side && part.technology == technology;
            });
    return designators;
}

}  // namespace

TEST(LargeReports, EveryFormatListsEveryRowOnceInOrder) {
    ReportFixture fixture;
    add_many_parts(fixture);
    UserColumn& column = fixture.settings.user_columns[0];
    column.type = 0;
    column.width = 8;
    column.heading = "RefDes";
    fixture.settings.user_column_count = 1;
    const PartTable& parts = fixture.project.parts;

    std::string plain = fixture.write(write_plain_listing);
    EXPECT_EQ(row_designators(plain, ' '), expected_designators(parts, false, false, false));
    std::string grouped = fixture.write(write_grouped_listing);
    EXPECT_EQ(row_designators(grouped, ' '), expected_designators(parts, true, false, false));
    std::string csv = fixture.write(write_csv_report);
    EXPECT_EQ(row_designators(csv, '"'), expected_designators(parts, false, false, false));
    std::string all_columns =
        fixture.write([](std::ostream& out, const ReportInput& report) { write_column_report(out, report, 3); });
    EXPECT_EQ(row_designators(all_columns, ' '), expected_designators(parts, false, false, true));
    std::string grouped_columns =
        fixture.write([](std::ostream& out, const ReportInput& report) { write_column_report(out, report, 4); });
    EXPECT_EQ(row_designators(grouped_columns, ' '), expected_designators(parts, true, true, false));
    EXPECT_EQ(plain.substr(plain.size() - 2), "\n\n");
}
