#pragma once
// A small project for the report writer tests, built record by record.
#include <sstream>
#include <string>

#include "driver/report_input.h"

struct ReportFixture {
    Settings settings;
    Project project;
    GroupCounts top, bottom;

    ReportFixture() {
        project.project_name = "Fixture";
        FootprintRecord footprint;
        footprint.name = "R0805";
        footprint.author = "Ann";
        footprint.source = "IPC";
        footprint.description = "chip";
        footprint.centroid_angle = 45;
        add_footprint(project.footprints, footprint);
    }

    PartRecord& add(const std::string& ref_des, double x, double y, int angle, unsigned side = 0,
                    int technology = TECH_SMD) {
        PartRecord part;
        part.ref_des = ref_des;
        part.shape = "R0805";
        part.value = "10k";
        part.x = x;
        part.y = y;
        part.angle = angle;
        part.side = side;
        part.technology = technology;
        part.pin_count = 2;
        part.pad_flags = 2;
        part.centroid_angle = 45;
        part.glue.add(x, y, 0.05);
        project.parts.push_back(part);
        return project.parts.back();
    }

    std::string write(void (*writer)(std::ostream&, const ReportInput&)) {
        count_groups(project.parts, top, bottom);
        ReportInput report{settings, project, top, bottom, prepare_info_column(settings.info_heading),
                           report_units(settings)};
        std::ostringstream out;
        writer(out, report);
        return out.str();
    }
};
