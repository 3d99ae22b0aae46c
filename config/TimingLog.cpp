#include "config/TimingLog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace TimingLog {

namespace {

const char* LogPath() {
  static const char* path = std::getenv("ELK_TIMING");
  return path != nullptr && path[0] != '\0' ? path : nullptr;
}

// The process's start on the boot clock, in milliseconds. The kernel keeps
// it in clock ticks, so it is exact to one tick (10 ms at most).
double ProcessStartMs() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // Field 22, counted after the command name, which may hold blanks.
  std::size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  double ticks = std::strtod(field.c_str(), nullptr);
  return ticks * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double BootClockMs() {
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

bool Enabled() { return LogPath() != nullptr; }

long long SinceProcessStart() {
  static const double start = ProcessStartMs();
  return static_cast<long long>(BootClockMs() - start);
}

void Write(const std::string& event, const std::string& detail) {
  const char* path = LogPath();
  if (path == nullptr) return;
  std::FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  std::string line = event + " " + std::to_string(SinceProcessStart());
  if (!detail.empty()) line += " " + detail;
  line += "\n";
  std::fwrite(line.data(), 1, line.size(), file);
  std::fclose(file);
}

}  // namespace TimingLog
