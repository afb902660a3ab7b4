#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarq::testing {

// The whole of a file; one of tests/data when `path` is relative.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(std::filesystem::path(TARQ_TEST_DATA_DIR) / path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// A directory of its own for one test, removed with everything in it at the end.
class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarq-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern;
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string string() const { return path_.string(); }

  // Creates the folders on the way.
  void write(std::string_view relativePath, std::string_view content) const {
    const std::filesystem::path file = path_ / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

  void remove(std::string_view relativePath) const {
    std::filesystem::remove_all(path_ / relativePath);
  }

  // Copies a tree of tests/data into this directory.
  void copyFixture(std::string_view fixture) const {
    std::filesystem::copy(std::filesystem::path(TARQ_TEST_DATA_DIR) / fixture, path_,
                          std::filesystem::copy_options::recursive);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tarq::testing
