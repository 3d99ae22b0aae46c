#include "BenchUtil.h"

#include <array>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <stdexcept>

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6)) * 1024;
  }
  return 0;
}

void WarmFileCache(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<char, 1 << 16> buffer{};
  while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
  }
}

std::string RunSelf(const std::string& self, const std::string& arguments) {
  FILE* pipe = ::popen((self + " " + arguments).c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + self);
  std::string out;
  std::array<char, 4096> buffer{};
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  ::pclose(pipe);
  return out;
}

std::string EnsureSampleCatalog(const std::string& dir, const std::string& name, int movies,
                                TSamplePictures pictures) {
  std::filesystem::create_directories(dir);
  std::string path = dir + "/" + name + ".qzt";
  if (!std::filesystem::exists(path)) {
    TSampleOptions options;
    options.Movies = movies;
    options.Seed = 11;
    options.Pictures = pictures;
    options.CoverWidth = 600;
    options.CoverHeight = 900;
    options.JpegOnly = true;
    WriteSampleCatalog(path, options);
  }
  return path;
}

std::string DataFolder(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--dir") return argv[i + 1];
  }
  return "bench-data";
}
