#include "BenchUtil.h"

#include <array>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

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

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<int> ProcessTree(int root) {
  std::map<int, int> parent;
  if (DIR* proc = ::opendir("/proc")) {
    while (dirent* entry = ::readdir(proc)) {
      int pid = std::atoi(entry->d_name);
      if (pid <= 0) continue;
      std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
      std::size_t close = stat.rfind(')');
      if (close == std::string::npos) continue;
      std::istringstream fields(stat.substr(close + 2));
      std::string state;
      int ppid = 0;
      fields >> state >> ppid;
      parent[pid] = ppid;
    }
    ::closedir(proc);
  }
  std::vector<int> tree{root};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    for (const auto& [pid, ppid] : parent) {
      if (ppid == tree[i]) tree.push_back(pid);
    }
  }
  return tree;
}

std::pair<long, long> TreeMemory(int root) {
  long rss = 0, pss = 0;
  for (int pid : ProcessTree(root)) {
    std::istringstream lines(ReadText("/proc/" + std::to_string(pid) + "/smaps_rollup"));
    std::string line;
    while (std::getline(lines, line)) {
      if (line.rfind("Rss:", 0) == 0) rss += std::stol(line.substr(4));
      if (line.rfind("Pss:", 0) == 0) pss += std::stol(line.substr(4));
    }
  }
  return {rss, pss};
}

std::string MakeProgramFolder(const std::string& viewer, const std::string& catalog, const std::string& moreLines) {
  std::string folder = (fs::temp_directory_path() / ("elk-bench-" + std::to_string(::getpid()))).string();
  fs::create_directories(folder);
  fs::copy_file(viewer, folder + "/elk-viewer", fs::copy_options::overwrite_existing);
  fs::path schemes = fs::path(viewer).parent_path() / "Schemes.ini";
  if (fs::exists(schemes)) fs::copy_file(schemes, folder + "/Schemes.ini", fs::copy_options::overwrite_existing);
  std::ofstream(folder + "/Config.ini") << "[Config]\r\nCatalogFile=" << catalog
                                        << "\r\nAutoOpen=1\r\nMaximized=0\r\nLeft=0\r\nTop=0\r\nWidth=1280\r\n"
                                           "Height=800\r\n"
                                        << moreLines;
  return folder;
}
