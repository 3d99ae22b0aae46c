#include "tests/support/TTestFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TTestFolder::TTestFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "elk-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TTestFolder::~TTestFolder() {
  std::error_code error;
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, error);
  std::filesystem::remove_all(m_path, error);
}

void TTestFolder::Write(const std::string& name, const std::string& text) const {
  std::filesystem::create_directories(std::filesystem::path(File(name)).parent_path());
  std::ofstream out(File(name), std::ios::binary);
  out << text;
}

std::string TTestFolder::Read(const std::string& name) const { return ReadFileBytes(File(name)); }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
