#include "project/scan.h"

#include "common/lines.h"

std::string quoted_value(std::string_view rest, bool keep_open_newline) {
    size_t quote = rest.find('"');
    if (quote != std::string_view::npos) return std::string(rest.substr(0, quote));
    return std::string(keep_open_newline ? rest : without_newline(rest));
}
