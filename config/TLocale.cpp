#include "config/TLocale.h"

#include "config/AsciiText.h"

#include "config/TextEncoding.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <langinfo.h>
#include <locale.h>
#include <mutex>
#include <string>

namespace {

constexpr std::array<const char*, 12> kLongMonths = {"January", "February", "March",     "April",
                                                     "May",     "June",     "July",      "August",
                                                     "September", "October", "November", "December"};
constexpr std::array<const char*, 12> kShortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 7> kLongDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 7> kShortDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// Collation through the C library under a locale object of our own, so the
// process-wide locale is never changed behind the program's back.
class TSystemLocale : public TLocale {
 public:
  explicit TSystemLocale(locale_t handle) : m_handle(handle) {}
  ~TSystemLocale() override { freelocale(m_handle); }
  TSystemLocale(const TSystemLocale&) = delete;
  TSystemLocale& operator=(const TSystemLocale&) = delete;

  int CompareText(std::string_view a, std::string_view b) const override {
    std::wstring wa = Fold(a);
    std::wstring wb = Fold(b);
    int result = wcscoll_l(wa.c_str(), wb.c_str(), m_handle);
    return result;
  }

  std::string SortKey(std::string_view text) const override {
    std::wstring folded = Fold(text);
    std::size_t size = wcsxfrm_l(nullptr, folded.c_str(), 0, m_handle);
    std::wstring transformed(size + 1, L'\0');
    wcsxfrm_l(transformed.data(), folded.c_str(), size + 1, m_handle);
    transformed.resize(size);
    // Big-endian bytes of each (non-negative) element compare like the elements.
    std::string key;
    key.reserve(size * 4);
    for (wchar_t c : transformed) {
      auto value = static_cast<std::uint32_t>(c);
      for (int shift = 24; shift >= 0; shift -= 8) key += static_cast<char>((value >> shift) & 0xFF);
    }
    return key;
  }

 private:
  std::wstring Fold(std::string_view text) const {
    std::wstring out;
    out.reserve(text.size());
    for (unsigned char c : text) {
      // wcscoll stops at a zero character; the catalog's texts hold none in
      // practice, and a stray one simply ends the compared text.
      out += static_cast<wchar_t>(towupper_l(static_cast<wint_t>(Cp1252ToCodePoint(c)), m_handle));
    }
    return out;
  }

  locale_t m_handle;
};

std::string LangInfo(locale_t handle, nl_item item, const char* fallback) {
  const char* value = nl_langinfo_l(item, handle);
  if (value == nullptr || *value == '\0') return fallback;
  return Utf8ToCp1252(value);
}

std::mutex g_localeMutex;
std::shared_ptr<const TLocale> g_current;

}  // namespace

int TLocale::CompareText(std::string_view a, std::string_view b) const {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(UpperAscii(a[i]));
    int cb = static_cast<unsigned char>(UpperAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string TLocale::SortKey(std::string_view text) const {
  return UpperAscii(text);
}

std::shared_ptr<const TLocale> MakeCLocale() {
  auto locale = std::shared_ptr<TLocale>(new TLocale());
  for (int i = 0; i < 12; ++i) {
    locale->m_longMonths[i] = kLongMonths[i];
    locale->m_shortMonths[i] = kShortMonths[i];
  }
  for (int i = 0; i < 7; ++i) {
    locale->m_longDays[i] = kLongDays[i];
    locale->m_shortDays[i] = kShortDays[i];
  }
  return locale;
}

std::shared_ptr<const TLocale> MakeSystemLocale() {
  locale_t handle = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
  if (handle == static_cast<locale_t>(nullptr)) return MakeCLocale();
  auto locale = std::make_shared<TSystemLocale>(handle);
  for (int i = 0; i < 12; ++i) {
    locale->m_longMonths[i] = LangInfo(handle, static_cast<nl_item>(MON_1 + i), kLongMonths[i]);
    locale->m_shortMonths[i] = LangInfo(handle, static_cast<nl_item>(ABMON_1 + i), kShortMonths[i]);
  }
  for (int i = 0; i < 7; ++i) {
    locale->m_longDays[i] = LangInfo(handle, static_cast<nl_item>(DAY_1 + i), kLongDays[i]);
    locale->m_shortDays[i] = LangInfo(handle, static_cast<nl_item>(ABDAY_1 + i), kShortDays[i]);
  }
  // The date separator is the first literal character of the locale's date
  // pattern ("%d.%m.%Y" gives "."), "/" when the pattern has none.
  const char* dateFormat = nl_langinfo_l(D_FMT, handle);
  for (const char* p = dateFormat; p != nullptr && *p != '\0'; ++p) {
    if (*p == '%') {
      if (p[1] == '\0') break;
      ++p;
      continue;
    }
    if (static_cast<unsigned char>(*p) < 0x80 && *p != ' ') {
      locale->m_dateSeparator = *p;
      break;
    }
  }
  const char* radix = nl_langinfo_l(RADIXCHAR, handle);
  if (radix != nullptr && std::strlen(radix) == 1) locale->m_decimalSeparator = radix[0];
  return locale;
}

const TLocale& CurrentLocale() {
  std::lock_guard<std::mutex> lock(g_localeMutex);
  if (!g_current) g_current = MakeCLocale();
  return *g_current;
}

void SetCurrentLocale(std::shared_ptr<const TLocale> locale) {
  std::lock_guard<std::mutex> lock(g_localeMutex);
  g_current = std::move(locale);
}
