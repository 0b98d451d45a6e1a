#include "driver/report_input.h"

InfoColumn prepare_info_column(const std::string& info_heading) {
    InfoColumn column;
    if (info_heading.empty()) return column;
    constexpr int ROOM = 16;
    int length = static_cast<int>(info_heading.size());
    int lead = ROOM / 2 - (length + 1) / 2;
    std::string block(static_cast<size_t>(lead > 0 ? lead : 0), ' ');
    block += info_heading;
    block.resize(ROOM, ' ');
    column.heading_block = block + "  ";
    column.dash_block = "----------------  ";
    return column;
}
