#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A wrong command line: its message is the one-line error elkcat prints
// before the usage.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Splits a subcommand's arguments into positional words and "--name value"
// or "--flag" options, rejecting any option the subcommand does not know.
class TArgs {
 public:
  TArgs(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
        const std::vector<std::string>& flagOptions);

  const std::vector<std::string>& Positional() const { return m_positional; }
  std::optional<std::string> Value(const std::string& name) const;
  bool Flag(const std::string& name) const { return m_flags.count(name) > 0; }
  void ExpectPositional(std::size_t min, std::size_t max) const;

  // An integer option within [min, max], or `fallback` when absent.
  long Integer(const std::string& name, long fallback, long min, long max) const;

 private:
  std::vector<std::string> m_positional;
  std::map<std::string, std::string> m_values;
  std::map<std::string, bool> m_flags;
};
