#include "config/info_records.h"

#include <gtest/gtest.h>

#include "reader_fixture.h"

TEST(InfoCommand, RefusedCommandsAreReportedEvenWhenQuiet) {
    CommandFileRun run;
    run.read("-I R1\n-I \" , ,\" text\n");
    EXPECT_EQ(run.messages(), "\n  Line  1: Rejected: -I  R1\n  Line  2: Rejected: -I  \" , ,\" text");
    EXPECT_EQ(run.info.count(), 0);
    EXPECT_EQ(run.valid_commands, 0);
    EXPECT_EQ(verbose_messages("-I R1\n"), "\n  t.ini - 2: Rejected: -I  R1");
}

TEST(InfoCommand, KeyListAddsOneRecordPerKey) {
    CommandFileRun run;
    std::string out = verbose_messages("-I \"R1, R2,R3\" \"Hand fit\"\n", &run);
    EXPECT_EQ(out,
              "\n  t.ini - 2: Adding Info: R1 Hand fit 0 -1.000 <sys>"
              "\n             Adding Info: R2 Hand fit 0 -1.000 <sys>"
              "\n             Adding Info: R3 Hand fit 0 -1.000 <sys>");
    ASSERT_EQ(run.info.count(), 3);
    EXPECT_EQ(run.info.records[2].key, "R3");
    EXPECT_EQ(run.info.records[2].glue_dia, -1.0);
    EXPECT_EQ(run.valid_commands, 2);
}

TEST(InfoCommand, UpdateKeepsTextWhenEmptyAndSetsTheFlag) {
    CommandFileRun run;
    run.read("-I \"R1 R2\" \"Hand fit\"\n-I R2 \"\" 1\n");
    ASSERT_EQ(run.info.count(), 2);
    EXPECT_EQ(run.info.records[1].text, "Hand fit");
    EXPECT_EQ(run.info.records[1].excluded, 1);
    EXPECT_EQ(run.info.records[0].excluded, 0);
}

TEST(InfoCommand, FlagIsOneSignedByteAndGlueFollowsTheUnits) {
    CommandFileRun run;
    run.read("-I A x 256\n-I B x 255\n-U M\n-I C x 0 1\n-I D x junk junk\n");
    EXPECT_EQ(run.info.records[0].excluded, 0);
    EXPECT_EQ(run.info.records[1].excluded, -1);
    EXPECT_DOUBLE_EQ(run.info.records[2].glue_dia, 1 / 25.4);
    EXPECT_EQ(run.info.records[3].excluded, 0);
    EXPECT_EQ(run.info.records[3].glue_dia, -1.0);
}

TEST(InfoCommand, EscapedQuotesInFields) {
    CommandFileRun run;
    run.read(R"(-I R9 "say \"hi\"")" "\n");
    EXPECT_EQ(run.info.records.at(0).text, R"(say "hi")");
}

TEST(OverrideLines, ParameterCounts) {
    CommandFileRun run;
    run.read("A\nB 1 2\nC 1 2 3 4\nD 1\nE 0 0.1 0.2\nF 0 0.1 0.2 0.3 0.4\nG 0 0.1 0.2 0.3 0.4 0.05\n");
    EXPECT_EQ(run.messages(),
              "\n  t.ini  1: Invalid parameter count A, record skipped"
              "\n  t.ini  2: Invalid parameter count B 1 2, record skipped"
              "\n  t.ini  3: Invalid parameter count C 1 2 3 4, record skipped");
    ASSERT_EQ(run.overrides.count(), 4);
    const FootprintOverride& d = run.overrides.records[0];
    EXPECT_EQ(d.name, "D");
    EXPECT_EQ(d.excluded, 1);
    EXPECT_EQ(d.centroid_x, -10.0);
    const FootprintOverride& e = run.overrides.records[1];
    EXPECT_DOUBLE_EQ(e.centroid_x, 0.1);
    EXPECT_EQ(e.glue.count, 0);
    const FootprintOverride& f = run.overrides.records[2];
    ASSERT_EQ(f.glue.count, 1);
    EXPECT_DOUBLE_EQ(f.glue[0].x, 0.3);
    EXPECT_EQ(f.glue[0].dia, -1.0);
    EXPECT_DOUBLE_EQ(run.overrides.records[3].glue[0].dia, 0.05);
}

TEST(OverrideLines, RepeatedLinesAccumulateSpotsAndTheLastFlagCounts) {
    CommandFileRun run;
    run.read("SOT 0 0 0 0.1 0 \nSOT 1 0 0 0.2 0\nSOT 0 0 0 0.3 0\n");
    ASSERT_EQ(run.overrides.count(), 1);
    EXPECT_EQ(run.overrides.records[0].glue.count, 3);
    EXPECT_EQ(run.overrides.records[0].excluded, 0);
    run.read("SOT 0 0 0 0 0 0\n");
    EXPECT_EQ(run.overrides.records[0].glue.count, 0);
    run.read("SOT 2\n");
    EXPECT_EQ(run.overrides.records[0].centroid_x, -10.0);
    EXPECT_EQ(run.overrides.records[0].excluded, 2);
}

TEST(OverrideLines, SpotsStopAtSixtyFour) {
    std::string lines;
    for (int i = 0; i < 70; ++i) lines += "FP 0 0 0 " + std::to_string(i) + " 0\n";
    CommandFileRun run;
    run.read(lines);
    EXPECT_EQ(run.overrides.records[0].glue.count, 64);
}

TEST(OverrideLines, QuotedNamesUnitsAndVerboseMessages) {
    CommandFileRun run;
    std::string out = verbose_messages("-U M\n\"My Part\" 0 25.4 2.54\n\"My Part\" 1\n", &run);
    EXPECT_EQ(out,
              "\n  t.ini - 2: Units set to MM\n  t.ini -  3: Added: \"My Part\" 0 25.4 2.54"
              "\n  t.ini -  4: Updated: \"My Part\" 1");
    ASSERT_EQ(run.overrides.count(), 1);
    EXPECT_EQ(run.overrides.records[0].name, "My Part");
    EXPECT_EQ(run.overrides.records[0].centroid_x, -10.0);  // the last line gave no centroid
    EXPECT_EQ(run.overrides.records[0].excluded, 1);
    CommandFileRun mm;
    mm.read("-U M\nX 0 25.4 2.54\n");
    EXPECT_DOUBLE_EQ(mm.overrides.records[0].centroid_x, 1.0);
    EXPECT_DOUBLE_EQ(mm.overrides.records[0].centroid_y, 0.1);
}

TEST(OverrideLines, NumbersThatAreNotFiniteEndTheValues) {
    CommandFileRun run;
    run.read("FP 0 inf 1\nGP 0 1 2 nan 0\n");
    ASSERT_EQ(run.overrides.count(), 2);
    EXPECT_EQ(run.overrides.records[0].centroid_x, -10.0);
    EXPECT_DOUBLE_EQ(run.overrides.records[1].centroid_x, 1.0);
    EXPECT_EQ(run.overrides.records[1].glue.count, 0);
}
