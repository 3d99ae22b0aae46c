#pragma once

#include <QMetaObject>
#include <random>
#include <string>

class TFormMain;

// Browses the main window as its user does, one page at a time: a movie
// from the side bar or the strip, a search, or Back. For the soak test and
// benchmark, which watch what long use leaves behind.
class TBrowsingUser {
 public:
  explicit TBrowsingUser(TFormMain& form, unsigned seed = 1);
  ~TBrowsingUser();
  TBrowsingUser(const TBrowsingUser&) = delete;
  TBrowsingUser& operator=(const TBrowsingUser&) = delete;

  // Changes the page and waits for it; false when it did not come within
  // `milliseconds`.
  bool ChangePage(int milliseconds = 10000);
  // Changes the page without waiting for it, as an impatient user does.
  void ClickSomewhere();
  int Changes() const { return m_changes; }

 private:
  TFormMain& m_form;
  std::mt19937 m_random;
  QMetaObject::Connection m_loads;
  int m_loaded = 0;
  int m_changes = 0;
};

// What the window holds that long use could pile up.
struct TWindowHoldings {
  int Objects = 0;        // every object below the window
  int Timers = 0;
  int History = 0;        // the web view's back list
  int StripPictures = 0;  // tiles of the strip holding a picture

  bool operator==(const TWindowHoldings&) const = default;
};
TWindowHoldings HoldingsOf(TFormMain& form);
std::string Describe(const TWindowHoldings& holdings);

// Saves `bytes` over the catalog at `path` as an editor does: into a new
// file renamed over the old one, or rewritten in place.
void SaveOver(const std::string& path, const std::string& bytes, bool inPlace);

// What the viewer's main does before it makes the application object, for
// the programs that make the window themselves: the movie scheme, the web
// engine's sandbox off as root, software composition, quiet diagnostics.
void PrepareWindowProcess();
