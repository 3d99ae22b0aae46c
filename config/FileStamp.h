#pragma once

#include <string>

// What tells one state of a file from another without reading it: its
// size, modification time and inode (a file renamed over it has another).
struct TFileStamp {
  bool Exists = false;
  long long Size = 0;
  long long ModifiedNs = 0;
  long long Inode = 0;
  bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const std::string& path);
