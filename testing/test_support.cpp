#include "testing/test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace testing_support {

namespace {
std::filesystem::path EnvPath(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::filesystem::path(value)
                                            : std::filesystem::path(fallback);
}
}  // namespace

std::filesystem::path TestDataDir() { return EnvPath("VERSANTO_TEST_DATA", "tests/data"); }

std::filesystem::path FreshDir(const std::string& name) {
  const auto dir = EnvPath("HOME", "/tmp") / "scratch" / name;
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  std::filesystem::create_directories(dir);
  return dir;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testing_support
