#pragma once

#include <string>

// The bytes of a file, or nothing when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// A fresh temporary folder, removed with everything in it at the end.
class TTestFolder {
 public:
  TTestFolder();
  ~TTestFolder();
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;

  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }
  void Write(const std::string& name, const std::string& text) const;
  std::string Read(const std::string& name) const;

 private:
  std::string m_path;
};
