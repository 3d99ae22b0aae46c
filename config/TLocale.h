#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

// The few locale facts the viewer shows or sorts by: month and day names,
// the date and decimal separators, and the locale's case-insensitive text
// order. Everything that formats dates, ratings or sorts names asks
// CurrentLocale(), so tests pin it with SetCurrentLocale().
class TLocale {
 public:
  virtual ~TLocale() = default;

  // Names are Windows-1252 texts. month is 1..12, weekDay 1 (Sunday)..7.
  std::string ShortMonthName(int month) const { return m_shortMonths.at(month - 1); }
  std::string LongMonthName(int month) const { return m_longMonths.at(month - 1); }
  std::string ShortDayName(int weekDay) const { return m_shortDays.at(weekDay - 1); }
  std::string LongDayName(int weekDay) const { return m_longDays.at(weekDay - 1); }
  char DateSeparator() const { return m_dateSeparator; }
  char DecimalSeparator() const { return m_decimalSeparator; }

  // Case-insensitive comparison in the locale's collation order; <0, 0, >0.
  // The C locale compares the ASCII-upper-cased bytes.
  virtual int CompareText(std::string_view a, std::string_view b) const;
  // A byte string whose plain comparison orders texts as CompareText does,
  // so that large sorts convert every text once.
  virtual std::string SortKey(std::string_view text) const;

 protected:
  std::array<std::string, 12> m_shortMonths;
  std::array<std::string, 12> m_longMonths;
  std::array<std::string, 7> m_shortDays;
  std::array<std::string, 7> m_longDays;
  char m_dateSeparator = '/';
  char m_decimalSeparator = '.';

  friend std::shared_ptr<const TLocale> MakeCLocale();
  friend std::shared_ptr<const TLocale> MakeSystemLocale();
};

// English names, "/" and "." with byte order: the locale of tests and the
// fallback when the system gives nothing.
std::shared_ptr<const TLocale> MakeCLocale();

// The user's locale from the environment (LC_ALL, LC_TIME, ...); falls back
// to the C locale for anything the system does not provide.
std::shared_ptr<const TLocale> MakeSystemLocale();

const TLocale& CurrentLocale();
void SetCurrentLocale(std::shared_ptr<const TLocale> locale);
