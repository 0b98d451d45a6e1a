#include "config/settings.h"

const std::array<ColumnType, COLUMN_TYPE_COUNT> column_types = {{
    {" RefDes ", 8},
    {" Value  ", 8},
    {"  Info  ", 8},
    {" Value and Info  ", 17},
    {" Footprint  ", 12},
    {" Side ", 6},
    {"Angle", 5},
    {" Loc X  ", 8},
    {" Loc Y  ", 8},
    {"     Loc X,Y     ", 17},
    {"Tech ", 5},
    {"Pins ", 5},
    {"  Adhesive X,Y   ", 17},
    {"     Adhesive X,Y,Dia     ", 26},
    {"Cent Ang", 8},
    {"   FP Author    ", 16},
    {"   FP Source    ", 16},
    {"    FP Desc     ", 16},
    {"Adhesive Count", 14},
}};

ReportUnits report_units(const Settings& settings) {
    ReportUnits units;
    units.millimetres = settings.units_mm == 1;
    const double per_inch = units.millimetres ? MM_PER_INCH : 1.0;
    const char* word = units.millimetres ? "mm" : "in";
    units.listing = {per_inch, units.millimetres ? 2 : 4, word};
    units.columns = {per_inch, units.millimetres ? 3 : 4, word};
    units.csv = units.millimetres ? LengthFormat{MM_PER_INCH, 2, "mm"} : LengthFormat{MILS_PER_INCH, 0, "mil"};
    // Format -1 writes no report and any format outside -1..4 is written as format 0: both show
    // the listing's units.
    switch (settings.output_format) {
        case 2: units.placement = units.csv; break;
        case 3:
        case 4: units.placement = units.columns; break;
        default: units.placement = units.listing; break;
    }
    return units;
}
