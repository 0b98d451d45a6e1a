#include "driver/csv.h"

#include <cstring>
#include <string>

#include "common/format.h"
#include "common/parallel_blocks.h"

namespace {

// The text of a quoted field with every double quote doubled, so that any CSV reader gets the
// text back. Most texts hold none and are used as they are.
const char* field_text(const char* text, std::string& doubled) {
    if (std::strchr(text, '"') == nullptr) return text;
    doubled.clear();
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '"') doubled += '"';
        doubled += *c;
    }
    return doubled.c_str();
}

}  // namespace

void write_csv_report(std::ostream& out, const Report& report) {
    const bool mm = report.settings.units_mm == 1;
    const bool info_on = report.info.on();
    print_to(out, "Report Origin = (0.0, 0.0) \nUnits used = \"%s\" \n\"RefDes\",", mm ? "mm" : "mil");
    std::string doubled;
    if (info_on) print_to(out, "\"%s\",", field_text(report.settings.info_heading.c_str(), doubled));
    out << "\"Layer\",\"LocationX\",\"LocationY\",\"Rotation\"\n\n";
    const PreparedFormat quoted("\"%s\",");
    const PreparedFormat position_mm("\"%1.2lf\",\"%1.2lf\",\"%d\"\n");
    const PreparedFormat position_mil("\"%1.0lf\",\"%1.0lf\",\"%d\"\n");
    const PartTable& parts = report.project.parts;
    write_in_parallel_blocks(out, parts.size(), [&](std::ostream& block, size_t begin, size_t end) {
        TextOutput lines(block);
        std::string doubled_text;
        for (size_t i = begin; i < end; ++i) {
            const PartRecord& part = parts[i];
            if (part.excluded != 0) continue;
            lines.print(&quoted, field_text(part.ref_des.c_str(), doubled_text));
            if (info_on) lines.print(&quoted, field_text(part.info_text.c_str(), doubled_text));
            lines.print(&quoted, side_name(part));
            if (mm)
                lines.print(&position_mm, part.x * MM_PER_INCH, part.y * MM_PER_INCH, part.angle);
            else
                lines.print(&position_mil, part.x * MILS_PER_INCH, part.y * MILS_PER_INCH, part.angle);
        }
    });
    out << "\n\n";
}
