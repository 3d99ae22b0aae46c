#include "tools/ElkcatArgs.h"

#include <algorithm>

TArgs::TArgs(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
             const std::vector<std::string>& flagOptions) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (optionsEnded || word.size() < 2 || word.rfind("--", 0) != 0) {
      if (!optionsEnded && word.size() > 1 && word[0] == '-' && word != "-") {
        throw TUsageError("unknown option '" + word + "'");
      }
      m_positional.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = word.substr(2);
    std::string value;
    bool inlineValue = false;
    if (auto equals = name.find('='); equals != std::string::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
      inlineValue = true;
    }
    if (std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end()) {
      if (!inlineValue) {
        if (i + 1 >= words.size()) throw TUsageError("option '--" + name + "' needs a value");
        value = words[++i];
      }
      m_values[name] = value;
    } else if (std::find(flagOptions.begin(), flagOptions.end(), name) != flagOptions.end() && !inlineValue) {
      m_flags[name] = true;
    } else {
      throw TUsageError("unknown option '--" + name + "'");
    }
  }
}

std::optional<std::string> TArgs::Value(const std::string& name) const {
  auto found = m_values.find(name);
  if (found == m_values.end()) return std::nullopt;
  return found->second;
}

void TArgs::ExpectPositional(std::size_t min, std::size_t max) const {
  if (m_positional.size() < min) throw TUsageError("missing argument");
  if (m_positional.size() > max) throw TUsageError("unexpected argument '" + m_positional[max] + "'");
}

long TArgs::Integer(const std::string& name, long fallback, long min, long max) const {
  std::optional<std::string> text = Value(name);
  if (!text) return fallback;
  try {
    std::size_t used = 0;
    long value = std::stol(*text, &used);
    if (used == text->size() && value >= min && value <= max) return value;
  } catch (const std::exception&) {
  }
  throw TUsageError("option '--" + name + "' needs a whole number from " + std::to_string(min) + " to " +
                    std::to_string(max));
}
