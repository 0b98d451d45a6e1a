#include "config/commands.h"

#include <gtest/gtest.h>

#include "reader_fixture.h"

namespace {

Settings settings_after(const std::string& text) {
    CommandFileRun run;
    run.read(text);
    return run.settings;
}

}  // namespace

TEST(Defaults, EmptyCommandFileLeavesEveryDefault) {
    Settings s = settings_after("");
    EXPECT_EQ(s.units_mm, 0);
    EXPECT_DOUBLE_EQ(s.target_scale, 1.0);
    EXPECT_EQ(s.top_ccw, 1);
    EXPECT_EQ(s.bottom_ccw, 1);
    EXPECT_EQ(s.top_rotation_offset, 0);
    EXPECT_EQ(s.bottom_centroid_factor, 0);
    EXPECT_EQ(s.glue_technologies, 7);
    EXPECT_DOUBLE_EQ(s.default_glue_spot_size, 0.025);
    EXPECT_EQ(s.check_gerbers, 0);
    EXPECT_EQ(s.output_format, 0);
    EXPECT_EQ(s.info_heading, "");
    EXPECT_EQ(s.user_column_count, 0);
    EXPECT_EQ(s.verbose, 0);
    EXPECT_DOUBLE_EQ(s.icon_legend_x, 0.5);
    EXPECT_DOUBLE_EQ(s.icon_legend_y, -0.5);
}

TEST(UnitsCommand, LengthsConvertOnlyAfterTheUnitChanges) {
    EXPECT_DOUBLE_EQ(settings_after("-U M\n-D 1\n").default_glue_spot_size, 1 / 25.4);
    EXPECT_DOUBLE_EQ(settings_after("-D 1\n-U M\n").default_glue_spot_size, 1.0);
    EXPECT_EQ(settings_after("-U Metric\n").units_mm, 1);
    EXPECT_EQ(settings_after("-U M\n-U inches\n").units_mm, 0);
    EXPECT_EQ(verbose_messages("-U feet\n-U mm\n"),
              "\n  t.ini - 2: Ignored --> -U feet\n  t.ini - 3: Units set to MM");
    CommandFileRun run;
    run.read("-U M\n");
    EXPECT_EQ(run.valid_commands, 0);  // units never count
}

TEST(TargetScaleCommand, ClampsAndReports) {
    EXPECT_DOUBLE_EQ(settings_after("-T 2\n").target_scale, 1.35);
    EXPECT_DOUBLE_EQ(settings_after("-T 0\n").target_scale, 0.01);
    EXPECT_DOUBLE_EQ(settings_after("-T -5\n").target_scale, 0.01);
    EXPECT_DOUBLE_EQ(settings_after("-T0.5\n").target_scale, 0.5);
    EXPECT_EQ(verbose_messages("-T 1.5\n"), "\n  t.ini - 2: Target Scale set to 1.350");
    EXPECT_EQ(verbose_messages("-T big\n"), "\n  t.ini - 2: Ignored --> -T big");
}

TEST(TargetScaleCommand, NumbersThatAreNotFiniteAreRefused) {
    EXPECT_DOUBLE_EQ(settings_after("-T nan\n").target_scale, 1.0);
    EXPECT_DOUBLE_EQ(settings_after("-T inf\n").target_scale, 1.0);
    EXPECT_DOUBLE_EQ(settings_after("-D 1e999\n").default_glue_spot_size, 0.025);
    EXPECT_DOUBLE_EQ(settings_after("-D 1e300\n").default_glue_spot_size, 0.025);  // would overflow in mm
    Settings legend = settings_after("-C 1 1e300 2\n");
    EXPECT_EQ(legend.check_gerbers, 1);
    EXPECT_DOUBLE_EQ(legend.icon_legend_x, 0.5);
}

TEST(RotationCommand, SideFormNormalises) {
    Settings s = settings_after("-R Bottom 1 -135 -7\n");
    EXPECT_EQ(s.bottom_ccw, 1);
    EXPECT_EQ(s.bottom_rotation_offset, -90);
    EXPECT_EQ(s.bottom_centroid_factor, -1);
    EXPECT_EQ(s.top_ccw, 1);
    EXPECT_EQ(s.top_rotation_offset, 0);
    EXPECT_EQ(settings_after("-R t 5 450 3\n").top_rotation_offset, 90);
    EXPECT_EQ(settings_after("-R T 5 -450 3\n").top_rotation_offset, -90);
    EXPECT_EQ(settings_after("-R Bottom 0 -270 1\n").bottom_rotation_offset, -270);
    EXPECT_EQ(verbose_messages("-R Top 1 89\n"), "\n  t.ini - 2: Top Rotation set to CCW + 0 + 0 * CentroidAngle");
    EXPECT_EQ(verbose_messages("-R B 0 180 1\n"),
              "\n  t.ini - 2: Bottom Rotation set to CW + 180 + 1 * CentroidAngle");
}

TEST(RotationCommand, ShortFormResetsOffsetsAndFactors) {
    Settings s = settings_after("-R Top 0 90 1\n-R Bottom 0 90 1\n-R 1\n");
    EXPECT_EQ(s.top_ccw, 1);
    EXPECT_EQ(s.top_rotation_offset, 0);
    EXPECT_EQ(s.top_centroid_factor, 0);
    EXPECT_EQ(s.bottom_rotation_offset, 0);
    Settings cw = settings_after("-R 0\n");
    EXPECT_EQ(cw.top_ccw, 0);
    EXPECT_EQ(cw.bottom_ccw, 0);
    EXPECT_EQ(settings_after("-R 7\n").top_ccw, 7);  // stored unchanged
    EXPECT_EQ(verbose_messages("-R 0\n"), "\n  t.ini - 2: Rotation set to CW");
}

TEST(RotationCommand, OtherFormsAreIgnored) {
    EXPECT_EQ(verbose_messages("-R -1\n-R X\n-R\n-R Top\n"),
              "\n  t.ini - 2: Ignored --> -R -1\n  t.ini - 3: Ignored --> -R X\n  t.ini - 4: Ignored --> -R"
              "\n  t.ini - 5: Ignored --> -R Top");
    EXPECT_EQ(settings_after("-R -1\n").top_ccw, 1);
}

TEST(CheckGerbersCommand, ModeAndLegend) {
    EXPECT_EQ(verbose_messages("-C 1\n"),
              "\n  t.ini - 2: Check Gerbers enabled (Multi layer), Icon Legend @ 0.500000, -0.500000");
    Settings two = settings_after("-C 2 0.2 -1\n");
    EXPECT_EQ(two.check_gerbers, 2);
    EXPECT_DOUBLE_EQ(two.icon_legend_x, 0.2);
    EXPECT_DOUBLE_EQ(two.icon_legend_y, -1.0);
    Settings mode_only = settings_after("-C 1 0.2\n");
    EXPECT_DOUBLE_EQ(mode_only.icon_legend_x, 0.5);
    Settings mm = settings_after("-U M\n-C 1 12.7 -12.7\n");
    EXPECT_DOUBLE_EQ(mm.icon_legend_x, 0.5);
    EXPECT_DOUBLE_EQ(mm.icon_legend_y, -0.5);
    EXPECT_EQ(verbose_messages("-C 0\n-C 5\n-C x\n"),
              "\n  t.ini - 2: Check Gerbers disabled \n  t.ini - 3: Check Gerbers enabled (Single layer), Icon Legend @ "
              "0.500000, -0.500000\n  t.ini - 4: Ignored: -C x");
}

TEST(FormatCommand, FormatsAndInfoHeading) {
    EXPECT_EQ(settings_after("-F 7\n").output_format, 0);
    Settings off = settings_after("-F -3\n");
    EXPECT_EQ(off.output_format, -1);
    EXPECT_EQ(verbose_messages("-F -3\n"), "\n  t.ini - 2: Output Format changed to -1  Place Listing OFF");
    EXPECT_EQ(verbose_messages("-F 2 Part\n"), "\n  t.ini - 2: Output Format changed to 2  Info Hdr: Part");
    EXPECT_EQ(verbose_messages("-F 3\n"), "\n  t.ini - 2: Output Format changed to 3  ");
    EXPECT_EQ(verbose_messages("-F 9\n"), "\n  t.ini - 2: Ignored: -F 9");
    EXPECT_EQ(settings_after("-F 0 \"A heading of 21 chars\"\n").info_heading, "A heading of 21 ");
    EXPECT_EQ(settings_after("-F 1 Notes\n-F 2\n").info_heading, "Notes");
    EXPECT_EQ(settings_after("-F 0 ABCDEFGHIJKLMNOPQRSTUVWXYZ\n").info_heading, "ABCDEFGHIJKLMNOP");
}

TEST(FormatCommand, UserColumnFormatsClearTheColumns) {
    Settings cleared = settings_after("-H 0\n-H 1\n-H 2\n-F 3\n");
    EXPECT_EQ(cleared.user_column_count, 0);
    EXPECT_EQ(cleared.user_columns[0].heading, "");
    Settings again = settings_after("-H 0\n-F 4\n-H 5\n");
    EXPECT_EQ(again.user_column_count, 1);
    EXPECT_EQ(again.user_columns[0].type, 5);
}

TEST(GlueCommand, FlagsFillTheClasses) {
    EXPECT_EQ(settings_after("-G 0\n").glue_technologies, 0);
    EXPECT_EQ(settings_after("-G 1 0\n").glue_technologies, 1);
    EXPECT_EQ(settings_after("-G 1 1 0\n").glue_technologies, 3);
    EXPECT_EQ(settings_after("-G 0 0 0 1\n").glue_technologies, 8);
    EXPECT_EQ(settings_after("-G 5\n").glue_technologies, 15);
    EXPECT_EQ(settings_after("-G\n").glue_technologies, 7);
    EXPECT_EQ(verbose_messages("-G\n"), "\n  t.ini - 2: Glue: SMD=Y Thru-Hole=Y Mixed=Y Null=N");
    CommandFileRun bare;
    bare.read("-G\n");
    EXPECT_EQ(bare.valid_commands, 1);
}

TEST(GlueCommand, TextWithoutNumberIsReportedEvenWhenQuiet) {
    CommandFileRun run;
    run.read("-G x\n");
    EXPECT_EQ(run.messages(), "\n  t.ini - 1: Ignored --> -G x");
    EXPECT_EQ(run.valid_commands, 0);
    EXPECT_EQ(run.settings.glue_technologies, 7);
}

TEST(ColumnCommand, WidthsAndHeadings) {
    Settings s = settings_after("-H 3\n-H 3 5\n-H 0 4 \"a twenty char header\"\n-H 11 12\n-H 4 20 Part\n");
    ASSERT_EQ(s.user_column_count, 5);
    EXPECT_EQ(s.user_columns[0].heading, " Value and Info  ");
    EXPECT_EQ(s.user_columns[0].width, 17);
    EXPECT_EQ(s.user_columns[1].width, 17);
    EXPECT_EQ(s.user_columns[2].heading, "a twenty char header");
    EXPECT_EQ(s.user_columns[2].width, 20);
    EXPECT_EQ(s.user_columns[3].heading, "Pins ");
    EXPECT_EQ(s.user_columns[3].width, 12);
    EXPECT_EQ(s.user_columns[4].width, 20);
    EXPECT_EQ(verbose_messages("-H 6\n"), "\n  t.ini - 2: User defined column 1 hdg = \"Angle\", type 6, 5 wide.");
}

TEST(ColumnCommand, RefusedTypesAndTheThirtyThirdColumn) {
    EXPECT_EQ(verbose_messages("-H 19\n-H -1\n-H\n-H 0 2000000000\n"),
              "\n  t.ini - 2: \"-H 19\" ignored.\n  t.ini - 3: \"-H -1\" ignored.\n  t.ini - 4: \"-H\" ignored."
              "\n  t.ini - 5: \"-H 0 2000000000\" ignored.");
    std::string many;
    for (int i = 0; i < 33; ++i) many += "-H 0\n";
    CommandFileRun run;
    run.read(many);
    EXPECT_EQ(run.settings.user_column_count, 32);
    EXPECT_EQ(run.valid_commands, 32);
}

TEST(MechanicalCommand, NumberTextAndNothing) {
    CommandFileRun run;
    run.read("-M abc\n-M\n-M 1\n");
    EXPECT_EQ(run.messages(), "\n  t.ini - 1: Ignored: -M abc");
    EXPECT_EQ(run.valid_commands, 1);
    EXPECT_EQ(run.settings.mechanical_normal, 1);
    EXPECT_EQ(verbose_messages("-M\n-M 2\n"),
              "\n  t.ini - 2: Mechanical parts are Null\n  t.ini - 3: Mechanical parts are Normal");
}

TEST(NamesCommand, PlainAndQuotedNames) {
    Settings s = settings_after("-N board.lpf out.place\n");
    EXPECT_EQ(s.default_source_name, "board.lpf");
    EXPECT_EQ(s.default_destination_name, "out.place");
    Settings quoted = settings_after("-N \"my board.lpf\" \"my report.txt\"\n");
    EXPECT_EQ(quoted.default_source_name, "my board.lpf");
    EXPECT_EQ(quoted.default_destination_name, "my report.txt");
    Settings one = settings_after("-N only\n");
    EXPECT_EQ(one.default_source_name, "only");
    EXPECT_EQ(one.default_destination_name, "");
    EXPECT_EQ(verbose_messages("-N a b\n-N\n"),
              "\n  t.ini - 2: file names \"a\" and \"b\" loaded\n  t.ini - 3: Ignored --> -N");
}

TEST(FontCommand, WordOrQuotedName) {
    EXPECT_EQ(settings_after("-P fonts/stroke.xml\n").font_file, "fonts/stroke.xml");
    EXPECT_EQ(settings_after("-P \"my fonts/a b.xml\"\n").font_file, "my fonts/a b.xml");
    EXPECT_EQ(verbose_messages("-P f.xml\n-P\n"),
              "\n  t.ini - 2: Use f.xml for font data.\n  t.ini - 3: Ignored --> -P");
}

TEST(VerboseCommand, MessagesAreAlwaysPrinted) {
    CommandFileRun run;
    run.read("-V 0\n-V abc\n");
    EXPECT_EQ(run.messages(), "\n  t.ini - 1: Verbose output disabled\n  t.ini - 2: Ignored --> -V abc");
    EXPECT_FALSE(run.settings.show_load_summary);
    CommandFileRun on_off;
    on_off.read("-V 1\n-V 0\n");
    EXPECT_TRUE(on_off.settings.show_load_summary);
    EXPECT_EQ(on_off.settings.verbose, 0);
}

TEST(CommandLetters, CaseInsensitiveAndBogusLetters) {
    EXPECT_DOUBLE_EQ(settings_after("-t 0.5\n").target_scale, 0.5);
    CommandFileRun run;
    run.read("-X\n-B 1\n-\n-; only a comment\n");
    EXPECT_EQ(run.messages(),
              "\n  t.ini - 1: Bogus Command Ignored: -X\n  t.ini - 2: Bogus Command Ignored: -B 1"
              "\n  t.ini - 3: Bogus Command Ignored: -\n  t.ini - 4: Bogus Command Ignored: -");
}
