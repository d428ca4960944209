#include "tests/test_support.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::random_device random;
  do {
    path_ = fs::temp_directory_path() / ("kelvane-test-" + std::to_string(random()));
  } while (!fs::create_directory(path_));
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

void ScratchDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream(path_ / name, std::ios::binary) << bytes;
}

std::string ScratchDir::Read(const std::string& name) const {
  std::ifstream file(path_ / name, std::ios::binary);
  if (!file) return "(none)";
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string ScratchDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}
