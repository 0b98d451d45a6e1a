#include "driver/report.h"

#include "driver/columns.h"
#include "driver/csv.h"
#include "driver/listing.h"

void write_report(std::ostream& out, const ReportInput& input) {
    switch (input.settings.output_format) {
        case -1:
            return;
        case 1:
            write_grouped_listing(out, input);
            return;
        case 2:
            write_csv_report(out, input);
            return;
        case 3:
        case 4:
            write_column_report(out, input, input.settings.output_format);
            return;
        default:
            write_plain_listing(out, input);
            return;
    }
}
