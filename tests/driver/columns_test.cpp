#include "driver/columns.h"

#include <gtest/gtest.h>

#include "driver/listing.h"
#include "report_fixture.h"

namespace {

void add_column(Settings& settings, int type, int width, const std::string& heading) {
    UserColumn& column = settings.user_columns[static_cast<size_t>(settings.user_column_count++)];
    column.type = type;
    column.width = width;
    column.heading = heading;
}

std::string format3(ReportFixture& fixture) {
    return fixture.write([](std::ostream& out, const ReportInput& report) { write_column_report(out, report, 3); });
}
std::string format4(ReportFixture& fixture) {
    return fixture.write([](std::ostream& out, const ReportInput& report) { write_column_report(out, report, 4); });
}

std::string cell(ReportFixture& fixture, int type, size_t index = 0) {
    count_groups(fixture.project.parts, fixture.top, fixture.bottom);
    ReportInput report{fixture.settings, fixture.project, fixture.top, fixture.bottom, InfoColumn{},
                       report_units(fixture.settings)};
    return column_cells(report, fixture.project.parts.at(0), type).at(index);
}

}  // namespace

TEST(ColumnHeadings, CentredHeadingAndDashes) {
    Settings settings;
    add_column(settings, 11, 12, "Pins ");
    add_column(settings, 0, 3, "RefDes");
    add_column(settings, 1, 200, "V");
    std::ostringstream out;
    write_column_headings(out, settings);
    // "Pins " is centred in 12, "RefDes" is cut to its width 3, "V" has 100 spaces on its left.
    EXPECT_EQ(out.str(), "\n\n    Pins      Ref  " + std::string(100, ' ') + "V" + std::string(99, ' ') + "\n" +
                             std::string(12, '-') + "  ---  " + std::string(53, ' ') + std::string(147, '-'));
}

TEST(ColumnCells, EveryTypeInInches) {
    ReportFixture fixture;
    PartRecord& part = fixture.add("R1", 1.5, -2.25, 90);
    part.info_text = "R0805";
    part.glue.add(0.1, 0.2, 0.03);
    EXPECT_EQ(cell(fixture, 0), "R1");
    EXPECT_EQ(cell(fixture, 1), "10k");
    EXPECT_EQ(cell(fixture, 2), "R0805");
    EXPECT_EQ(cell(fixture, 3), "10k R0805");
    EXPECT_EQ(cell(fixture, 4), "R0805");
    EXPECT_EQ(cell(fixture, 5), "Top");
    EXPECT_EQ(cell(fixture, 6), "  90");
    EXPECT_EQ(cell(fixture, 7), "  1.5000");
    EXPECT_EQ(cell(fixture, 8), " -2.2500");
    EXPECT_EQ(cell(fixture, 9), "  1.5000, -2.2500");
    EXPECT_EQ(cell(fixture, 10), " SMD");
    EXPECT_EQ(cell(fixture, 11), "   2 ");
    EXPECT_EQ(cell(fixture, 12, 1), "  0.100,  0.200");
    EXPECT_EQ(cell(fixture, 13, 1), "[ 0.100, 0.200, 0.030]  ");
    EXPECT_EQ(cell(fixture, 14), "   45");
    EXPECT_EQ(cell(fixture, 15), "Ann");
    EXPECT_EQ(cell(fixture, 16), "IPC");
    EXPECT_EQ(cell(fixture, 17), "chip");
    EXPECT_EQ(cell(fixture, 18), "       2");
}

TEST(ColumnCells, MillimetresAndClassNames) {
    ReportFixture fixture;
    fixture.settings.units_mm = 1;
    PartRecord& part = fixture.add("J1", 1, 0.5, 0, 1, TECH_THRU_HOLE);
    part.value = "10k";
    EXPECT_EQ(cell(fixture, 7), "  25.400");
    EXPECT_EQ(cell(fixture, 9), "  25.400,  12.700");
    EXPECT_EQ(cell(fixture, 12), " 25.400, 12.700");
    EXPECT_EQ(cell(fixture, 13), "[ 25.400, 12.700, 1.270]  ");
    EXPECT_EQ(cell(fixture, 10), " PTH");
    EXPECT_EQ(cell(fixture, 5), "Bottom");
    fixture.project.parts[0].technology = TECH_MIXED;
    EXPECT_EQ(cell(fixture, 10), "Mixed");
    fixture.project.parts[0].technology = TECH_NULL;
    EXPECT_EQ(cell(fixture, 10), "Null");
    fixture.project.parts[0].info_text = "";
    EXPECT_EQ(cell(fixture, 3), "10k ");
}

TEST(ColumnRows, GlueCellsRepeatAndCellsAreCut) {
    ReportFixture fixture;
    add_column(fixture.settings, 12, 17, "  Adhesive X,Y   ");
    add_column(fixture.settings, 0, 2, "R");
    add_column(fixture.settings, 40, 5, "bad");
    PartRecord& three = fixture.add("R100", 0, 0, 0);
    three.glue.add(1, 1, 0.02);
    three.glue.add(2, 2, 0.02);
    PartRecord& none = fixture.add("R2", 0, 0, 0);
    none.glue.clear();
    std::string out = format3(fixture);
    size_t rows = out.find("\n", out.find("-----  ") + 1);
    std::string body = out.substr(rows);
    // Three glue cells of 17 fill 51 characters; the unknown type writes only its separator.
    EXPECT_EQ(body, "\n  0.000,  0.000    1.000,  1.000    2.000,  2.000    R1    \n  R2    \n");
}

TEST(ColumnReport, Format3ListsExcludedPartsAndFormat4Groups) {
    ReportFixture fixture;
    add_column(fixture.settings, 0, 8, " RefDes ");
    fixture.add("R1", 0, 0, 0);
    fixture.add("R2", 0, 0, 0).excluded = 1;
    fixture.add("J1", 0, 0, 0, 0, TECH_THRU_HOLE);
    fixture.add("R3", 0, 0, 0, 2);  // any nonzero side is bottom in the grouped columns
    std::string all = format3(fixture);
    EXPECT_NE(all.find("\nR2      "), std::string::npos);
    std::string grouped = format4(fixture);
    EXPECT_EQ(grouped.find("\nR2      "), std::string::npos);
    const std::string group_heading = "\n\n RefDes \n--------";
    EXPECT_NE(grouped.find(group_heading + "\nR1        " + group_heading + "\nJ1        " + group_heading +
                           "\nR3        \n"),
              std::string::npos);
}

TEST(ColumnReport, NoColumnsAtAll) {
    ReportFixture fixture;
    fixture.add("R1", 0, 0, 0);
    fixture.add("R2", 0, 0, 0);
    std::string out = format3(fixture);
    std::string header;
    {
        std::ostringstream head;
        count_groups(fixture.project.parts, fixture.top, fixture.bottom);
        write_report_header(head, ReportInput{fixture.settings, fixture.project, fixture.top, fixture.bottom, InfoColumn{},
                                              report_units(fixture.settings)});
        header = head.str();
    }
    EXPECT_EQ(out, header + "\n\n\n\n\n\n");
}
