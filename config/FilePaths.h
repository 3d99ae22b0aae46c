#pragma once

#include <string>

// `path` made absolute against the working folder, without "." and ".."
// parts; as given when the working folder cannot be read.
std::string AbsolutePath(const std::string& path);
// Something (a file, a folder) is at `path`; false for an empty path.
bool PathExists(const std::string& path);
// A regular file (or a link to one) is at `path`.
bool IsRegularFile(const std::string& path);
