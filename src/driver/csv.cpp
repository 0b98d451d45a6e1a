#include "driver/csv.h"

#include <string>

#include "common/text.h"

namespace {

// The text of a quoted field with every double quote doubled, so that any CSV reader gets the
// text back. Most texts hold none and are used as they are.
const char* field_text(const std::string& text, std::string& doubled) {
    if (text.find('"') == std::string::npos) return text.c_str();
    doubled.clear();
    for (char c : text) {
        if (c == '"') doubled += '"';
        doubled += c;
    }
    return doubled.c_str();
}

}  // namespace

LineWriter& format_csv_row(LineWriter& row, const ReportInput& input, const PartRecord& part) {
    // "\"%s\"," with the designator, with the information column "\"%s\"," with its text, then
    // "\"%s\"," with the side and in millimetres "\"%1.2lf\",\"%1.2lf\",\"%d\"\n" with x and y
    // times 25.4, in mils "\"%1.0lf\",\"%1.0lf\",\"%d\"\n" with x and y times 1000.
    std::string doubled;
    row.clear();
    row.put('"').put(field_text(part.ref_des, doubled)).put("\",");
    if (input.info.on()) row.put('"').put(field_text(part.info_text, doubled)).put("\",");
    row.put('"').put(side_name(part)).put("\",\"");
    const LengthFormat& csv = input.units.csv;
    row.fixed(part.x * csv.per_inch, 1, csv.decimals).put("\",\"").fixed(part.y * csv.per_inch, 1, csv.decimals);
    row.put("\",\"");
    row.integer(part.angle, 0).put("\"\n");
    return row;
}

void write_csv_report(std::ostream& out, const ReportInput& input) {
    const bool info_on = input.info.on();
    std::string doubled;
    print_to(out, "Report Origin = (0.0, 0.0) \nUnits used = \"%s\" \n\"RefDes\",", input.units.csv.word);
    if (info_on) print_to(out, "\"%s\",", field_text(input.settings.info_heading, doubled));
    out << "\"Layer\",\"LocationX\",\"LocationY\",\"Rotation\"\n\n";
    LineWriter row;
    for (const PartRecord& part : input.project.parts) {
        if (part.excluded == 0) out << format_csv_row(row, input, part).text();
    }
    out << "\n\n";
}
