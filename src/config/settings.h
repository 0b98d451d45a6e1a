#pragma once
// Every value the command file can change, with the default that holds when no
// command touches it. Lengths are inches.
#include <array>
#include <string>

constexpr double MM_PER_INCH = 25.4;
constexpr double INCH_PER_MM = 1.0 / 25.4;
constexpr double MILS_PER_INCH = 1000.0;

/// Most user-defined report columns; the table has one spare entry.
constexpr int MAX_USER_COLUMNS = 32;

/// One user-defined report column.
struct UserColumn {
    std::string heading;
    int type = 0;   // index into column_types
    int width = 0;  // characters
};

/// A report column type of the built-in catalogue: default heading and minimum width.
struct ColumnType {
    const char* heading;
    int width;
};

constexpr int COLUMN_TYPE_COUNT = 19;

/// The read-only catalogue of report column types.
extern const std::array<ColumnType, COLUMN_TYPE_COUNT> column_types;

struct Settings {
    int units_mm = 0;
    double target_scale = 1.0;
    int top_ccw = 1;
    int top_rotation_offset = 0;
    int top_centroid_factor = 0;
    int bottom_ccw = 1;
    int bottom_rotation_offset = 0;
    int bottom_centroid_factor = 0;
    std::string font_file;
    std::string default_source_name;
    std::string default_destination_name;
    int mechanical_normal = 0;
    int glue_technologies = 7;  // bit n: technology class n gets glue
    int output_format = 0;
    std::string info_heading;
    std::array<UserColumn, MAX_USER_COLUMNS + 1> user_columns{};
    int user_column_count = 0;
    double default_glue_spot_size = 0.025;
    int check_gerbers = 0;
    double icon_legend_x = 0.5;
    double icon_legend_y = -0.5;
    int verbose = 0;
    bool show_load_summary = false;
};

/// One way of printing lengths: the factor from inches, the decimals and the unit's word.
struct LengthFormat {
    double per_inch;
    int decimals;
    const char* word;
};

/// How the report prints lengths, decided once from -U and the report format, for the report
/// writers, the placement check and the review page.
struct ReportUnits {
    bool millimetres;       // -U MM: millimetres, else inches (mils in format 2)
    LengthFormat listing;   // formats 0 and 1: millimetres with 2 decimals, else inches with 4
    LengthFormat columns;   // the Loc columns of formats 3 and 4: millimetres with 3, else inches with 4
    LengthFormat csv;       // format 2: millimetres with 2, else mils with 0
    LengthFormat placement; // the placement point as the report being written prints it
};

/// The report's units for these settings.
ReportUnits report_units(const Settings& settings);
