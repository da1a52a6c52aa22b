#pragma once

#include <filesystem>
#include <string>

// Helpers every test may use; no Qt here, so that the cores' tests stay Qt-free.
namespace testing_support {

// The folder `tests/data` of the library whose test is running.
std::filesystem::path TestDataDir();

// A fresh empty folder below the test's own HOME, removed and made again on
// each call with the same name.
std::filesystem::path FreshDir(const std::string& name);

// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace testing_support
