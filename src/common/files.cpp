#include "common/files.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "common/fatal.h"
#include "common/text.h"
#include "platform/names.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File open_regular(const std::string& path) {
    refuse_unrepresentable_name(path);
    std::error_code failed;
    if (std::filesystem::is_directory(file_system_path(path), failed)) return nullptr;
    return File(std::fopen(path.c_str(), "rb"));
}

// Drops every carriage return directly before a line feed.
void drop_carriage_returns(std::string& text) {
    size_t first = text.find("\r\n");
    if (first == std::string::npos) return;
    size_t kept = first;
    for (size_t i = first; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        text[kept++] = text[i];
    }
    text.resize(kept);
}

}  // namespace

void refuse_unrepresentable_name(const std::string& name) {
    if (!representable_name(name))
        throw FatalError(format_text(
            "\n\nFatal error: Name \"%s\" can't be used unchanged: it is not text in the program's code page "
            "(UTF-8)\n\n", name.c_str()));
}

bool read_text_file(const std::string& path, std::string& text) {
    File file = open_regular(path);
    if (!file) return false;
    text.clear();
    // Room for the whole file at once; a file that grows meanwhile is read on to its end.
    std::error_code unknown;
    const auto size = std::filesystem::file_size(file_system_path(path), unknown);
    if (!unknown) text.reserve(static_cast<size_t>(size));
    char buffer[65536];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, read);
    if (std::ferror(file.get()) != 0) return false;
    drop_carriage_returns(text);
    return true;
}

bool readable_file(const std::string& path) { return open_regular(path) != nullptr; }

std::string read_text_stream(std::istream& in) {
    std::string text;
    try {
        char buffer[65536];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0) text.append(buffer, static_cast<size_t>(in.gcount()));
    } catch (const std::ios_base::failure&) {
        // A pipe or terminal that fails delivers what it had.
    }
    drop_carriage_returns(text);
    return text;
}
