#pragma once
// Shared by the fuzz targets: a scratch working directory for the files a run
// reads and writes, so that nothing outside it is touched.
#include <string>

/// Creates a scratch directory once, makes it the working directory and returns its path.
const std::string& enter_scratch_directory();

/// Reads a file of the source tree.
std::string source_file(const std::string& relative);
