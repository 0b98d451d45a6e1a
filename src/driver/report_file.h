#pragma once
#include <fstream>
#include <string>
#include <vector>

/// The report file, written to a temporary file beside the destination and renamed onto it
/// only when the run succeeds, so that a run that stops early leaves an earlier report
/// untouched and no temporary file behind.
class ReportFile {
public:
    ReportFile() = default;
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    ~ReportFile();

    /// Prepares to write the report file `name`; false when it cannot be written.
    bool open(const std::string& name);
    std::ostream& stream() { return out_; }
    /// Moves the finished report onto the destination; false when that fails.
    bool commit();

private:
    std::string destination_;
    std::string temporary_;
    std::vector<char> buffer_;
    std::ofstream out_;
};
