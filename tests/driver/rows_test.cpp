// The report rows built from typed pieces against the printf formats they stand for: random
// parts of every kind, in both units, with and without the information column.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <random>
#include <string>

#include "driver/csv.h"
#include "driver/listing.h"
#include "report_fixture.h"

namespace {

std::string printed(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string printed(const char* format, ...) {
    char text[4096];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

std::string random_text(std::mt19937_64& random) {
    static const std::string letters = "ABCRUxyz019_- .,\"";
    std::string text(random() % 30, ' ');
    for (char& c : text) c = letters[random() % letters.size()];
    return text;
}

double random_length(std::mt19937_64& random) {
    switch (random() % 3) {
        case 0:
            return static_cast<double>(static_cast<long long>(random() % 1000000000) - 500000000) / 25400000.0;
        case 1:
            return static_cast<double>(static_cast<long long>(random() % 200000) - 100000) / 20000.0;  // halves
        default:
            return std::ldexp(static_cast<double>(random() % 1000000), -static_cast<int>(random() % 40));
    }
}

PartRecord random_part(std::mt19937_64& random) {
    PartRecord part;
    part.ref_des = random_text(random);
    part.shape = random_text(random);
    part.info_text = random_text(random);
    part.x = random_length(random);
    part.y = random_length(random);
    part.angle = static_cast<int>(random() % 800) - 400;
    part.pos_flag = static_cast<unsigned>(random() % 3);
    part.pin_count = static_cast<int>(random() % 30000) - 3;
    part.pad_flags = static_cast<int>(random() % 3);
    part.side = static_cast<unsigned>(random() % 2);
    if (random() % 5 != 0) part.glue.add(random_length(random), random_length(random), random_length(random));
    if (random() % 7 == 0) part.glue.clear();
    return part;
}

}  // namespace

TEST(ReportRows, ListingRowsAreTheirPrintfFormats) {
    ReportFixture fixture;
    std::mt19937_64 random(20261209);
    LineWriter row;
    for (int i = 0; i < 400000; ++i) {
        const PartRecord part = random_part(random);
        const bool mm = i % 2 == 0;
        const bool info = i % 3 == 0;
        fixture.settings.units_mm = mm ? 1 : 0;
        ReportInput input{fixture.settings, fixture.project, fixture.top, fixture.bottom,
                          prepare_info_column(info ? "Info" : ""), report_units(fixture.settings)};
        const double glue_dia = random_length(random);
        const char* technology = i % 4 == 0 ? "Thru-Hole" : "SMD";
        const double unit = mm ? 25.4 : 1.0;
        const GlueSpot glue = part.glue.first();
        const char mark = part.pos_flag != 0 ? 'L' : ' ';
        const char pins = part.pin_count >= 2 && part.pad_flags != 0 ? ' ' : '*';
        std::string expected = printed("\n%-8s  ", part.ref_des.c_str());
        if (info) expected += printed("%-16.16s  ", part.info_text.c_str());
        if (mm)
            expected += printed("%-20.20s  %-6s  %7.2lf %c%7.2lf  %3d  %7.2lf  %7.2lf  %7.2lf  %-10s  %4d %c",
                                part.shape.c_str(), side_name(part), part.x * unit, mark, part.y * unit, part.angle,
                                glue.x * unit, glue.y * unit, glue_dia * unit, technology, part.pin_count, pins);
        else
            expected += printed("%-20.20s  %-6s  %7.4lf %c%7.4lf  %3d  %7.4lf  %7.4lf  %7.4lf  %-10s  %4d %c",
                                part.shape.c_str(), side_name(part), part.x, mark, part.y, part.angle, glue.x, glue.y,
                                glue_dia, technology, part.pin_count, pins);
        format_listing_row(row, input, part, side_name(part), technology, glue_dia);
        ASSERT_EQ(row.text(), expected) << i;
    }
}

TEST(ReportRows, CsvRowsAreTheirPrintfFormats) {
    ReportFixture fixture;
    std::mt19937_64 random(7);
    LineWriter row;
    for (int i = 0; i < 400000; ++i) {
        PartRecord part = random_part(random);
        part.ref_des.erase(std::remove(part.ref_des.begin(), part.ref_des.end(), '"'), part.ref_des.end());
        part.info_text.erase(std::remove(part.info_text.begin(), part.info_text.end(), '"'), part.info_text.end());
        const bool mm = i % 2 == 0;
        const bool info = i % 3 == 0;
        fixture.settings.units_mm = mm ? 1 : 0;
        ReportInput input{fixture.settings, fixture.project, fixture.top, fixture.bottom,
                          prepare_info_column(info ? "Info" : ""), report_units(fixture.settings)};
        std::string expected = printed("\"%s\",", part.ref_des.c_str());
        if (info) expected += printed("\"%s\",", part.info_text.c_str());
        expected += printed("\"%s\",", side_name(part));
        if (mm)
            expected += printed("\"%1.2lf\",\"%1.2lf\",\"%d\"\n", part.x * 25.4, part.y * 25.4, part.angle);
        else
            expected += printed("\"%1.0lf\",\"%1.0lf\",\"%d\"\n", part.x * 1000.0, part.y * 1000.0, part.angle);
        ASSERT_EQ(format_csv_row(row, input, part).text(), expected) << i;
    }
}
