#include "driver/csv.h"

#include <gtest/gtest.h>

#include "report_fixture.h"

TEST(CsvReport, MilsAndMillimetres) {
    ReportFixture fixture;
    fixture.add("R1", 1.5, 2.25, 90);
    fixture.add("R2", -0.0004, 0, 0, 1);
    fixture.add("R3", 1, 1, 0).excluded = 1;
    EXPECT_EQ(fixture.write(write_csv_report),
              "Report Origin = (0.0, 0.0) \nUnits used = \"mil\" \n\"RefDes\",\"Layer\",\"LocationX\",\"LocationY\","
              "\"Rotation\"\n\n\"R1\",\"Top\",\"1500\",\"2250\",\"90\"\n\"R2\",\"Bottom\",\"-0\",\"0\",\"0\"\n\n\n");
    fixture.settings.units_mm = 1;
    std::string mm = fixture.write(write_csv_report);
    EXPECT_NE(mm.find("Units used = \"mm\" \n"), std::string::npos);
    EXPECT_NE(mm.find("\n\"R1\",\"Top\",\"38.10\",\"57.15\",\"90\"\n"), std::string::npos);
}

TEST(CsvReport, InformationFieldAndQuotesDoubled) {
    ReportFixture fixture;
    fixture.settings.info_heading = "Part \"No\"";
    fixture.add("R1", 0, 0, 0).info_text = "say \"a,b\"";
    fixture.add("R\"2", 0, 0, 0);
    std::string out = fixture.write(write_csv_report);
    EXPECT_NE(out.find("\"RefDes\",\"Part \"\"No\"\"\",\"Layer\""), std::string::npos);
    // A double quote inside a field is doubled; a comma needs nothing, the field being quoted.
    EXPECT_NE(out.find("\n\"R1\",\"say \"\"a,b\"\"\",\"Top\""), std::string::npos);
    EXPECT_NE(out.find("\n\"R\"\"2\",\"\",\"Top\""), std::string::npos);
}

TEST(CsvReport, EmptyProject) {
    ReportFixture fixture;
    EXPECT_EQ(fixture.write(write_csv_report),
              "Report Origin = (0.0, 0.0) \nUnits used = \"mil\" \n\"RefDes\",\"Layer\",\"LocationX\",\"LocationY\","
              "\"Rotation\"\n\n\n\n");
}
