#include "browse/PageProcessRestarts.h"
#include "browse/UNulContainer.h"

#include "config/TViewerError.h"

#include <gtest/gtest.h>

namespace {

// A web view that records what the host does to it.
class TFakeBrowser : public TBrowserControl {
 public:
  bool TakesSites = true;
  bool HasMenu = false;
  TNulWBContainer* Site = nullptr;
  int SiteCalls = 0;
  int PopupX = -1, PopupY = -1;

  bool SupportsClientSite() const override { return TakesSites; }
  void SetClientSite(TNulWBContainer* site) override {
    Site = site;
    ++SiteCalls;
  }
  bool HasPopupMenu() const override { return HasMenu; }
  void PopupMenuAt(int x, int y) override {
    PopupX = x;
    PopupY = y;
  }
};

using namespace HostFlag;

}  // namespace

TEST(UNulContainer, FlagsFollowTheOptions) {
  struct TCase {
    bool Scroll, Border, Select;
    TVisualThemes Themes;
    std::uint32_t Flags;
  };
  const TCase cases[] = {
      {true, true, true, TVisualThemes::NotAvailable, 0},
      {true, false, true, TVisualThemes::InUse, DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME},
      {false, true, true, TVisualThemes::NotAvailable, DOCHOSTUIFLAG_SCROLL_NO},
      {true, true, false, TVisualThemes::AvailableNotUsed, DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NOTHEME},
      {false, false, false, TVisualThemes::InUse,
       DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_THEME},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(HostInfoFlags(c.Scroll, c.Border, c.Select, c.Themes), c.Flags);
  }
}

TEST(UNulContainer, MainWindowSettingsGiveNoBorderAndTheTheme) {
  TFakeBrowser browser;
  TWBContainer host(browser);
  host.SetBorderVisible(false);
  TDocHostUIInfo info;
  info.dwDoubleClick = 7;
  ASSERT_EQ(host.GetHostInfo(info), ResultCode::kOk);
  EXPECT_EQ(info.cbSize, 20u);
  EXPECT_EQ(info.dwFlags, DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME);
  EXPECT_EQ(info.dwDoubleClick, 0u);
  // An empty style sheet is still handed over, as its terminator alone.
  EXPECT_EQ(info.pchHostCss, std::u16string(1, u'\0'));
  EXPECT_TRUE(info.pchHostNS.empty());
}

TEST(UNulContainer, StyleSheetIsConvertedFromTheCodePage) {
  TFakeBrowser browser;
  TWBContainer host(browser);
  host.SetHostStyleSheet("p { font-family: \"Caf\xE9\" }");
  TDocHostUIInfo info;
  host.GetHostInfo(info);
  EXPECT_EQ(info.pchHostCss, std::u16string(u"p { font-family: \"Caf\u00E9\" }") + u'\0');
}

TEST(UNulContainer, NeutralHostLeavesTheInformationAlone) {
  TFakeBrowser browser;
  TNulWBContainer host(browser);
  TDocHostUIInfo info;
  info.dwFlags = 0x1234;
  EXPECT_EQ(host.GetHostInfo(info), ResultCode::kOk);
  EXPECT_EQ(info.dwFlags, 0x1234u);
  EXPECT_EQ(host.ShowContextMenu(0, 1, 2), ResultCode::kFalse);
}

TEST(UNulContainer, AttachesOnCreationAndDetachesOnDestruction) {
  TFakeBrowser browser;
  {
    TWBContainer host(browser);
    EXPECT_EQ(browser.Site, &host);
  }
  EXPECT_EQ(browser.Site, nullptr);
  EXPECT_EQ(browser.SiteCalls, 2);
}

TEST(UNulContainer, ViewWithoutClientSitesCannotBeHosted) {
  TFakeBrowser browser;
  browser.TakesSites = false;
  try {
    TWBContainer host(browser);
    FAIL() << "no error";
  } catch (const TViewerError& error) {
    EXPECT_STREQ(error.what(), "Browser's Default interface does not support IOleObject");
  }
}

TEST(UNulContainer, ContextMenuChoice) {
  TFakeBrowser browser;
  TWBContainer host(browser);
  // By default the view shows its own menu.
  EXPECT_EQ(host.ShowContextMenu(0, 10, 20), ResultCode::kFalse);
  // Asked to use the popup menu when there is none: no menu at all.
  host.SetUsePopupMenu(true);
  EXPECT_EQ(host.ShowContextMenu(0, 10, 20), ResultCode::kOk);
  EXPECT_EQ(browser.PopupX, -1);
  browser.HasMenu = true;
  EXPECT_EQ(host.ShowContextMenu(0, 10, 20), ResultCode::kOk);
  EXPECT_EQ(browser.PopupX, 10);
  EXPECT_EQ(browser.PopupY, 20);
}

TEST(UNulContainer, InterfacesAndFixedAnswers) {
  TFakeBrowser browser;
  TNulWBContainer host(browser);
  void* object = &browser;
  EXPECT_EQ(host.QueryInterface(THostInterface::Other, &object), ResultCode::kNoInterface);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(host.QueryInterface(THostInterface::IDocHostUIHandler, &object), ResultCode::kOk);
  EXPECT_EQ(object, &host);
  EXPECT_EQ(host.AddRef(), 0xFFFFFFFFu);
  EXPECT_EQ(host.Release(), 0xFFFFFFFFu);
  object = &browser;
  EXPECT_EQ(host.GetMoniker(&object), ResultCode::kNotImplemented);
  EXPECT_EQ(object, nullptr);
  object = &browser;
  EXPECT_EQ(host.GetContainer(&object), ResultCode::kNoInterface);
  EXPECT_EQ(object, nullptr);
  object = &browser;
  EXPECT_EQ(host.FilterDataObject(&object), ResultCode::kFalse);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(host.ResizeBorder(), ResultCode::kFalse);
  EXPECT_EQ(host.TranslateAccelerator(), ResultCode::kFalse);
  std::u16string translated = u"unchanged";
  EXPECT_EQ(host.TranslateUrl(u"movie://localhost/x", translated), ResultCode::kFail);
  EXPECT_EQ(translated, u"unchanged");
}

TEST(PageProcessRestarts, ShowsAgainUntilTheThirdEndWithinAMinute) {
  using TAnswer = TPageProcessRestarts::TAnswer;
  TPageProcessRestarts restarts;
  // Ends a minute or more apart never give up.
  for (long long at : {0LL, 60000LL, 120000LL, 180000LL}) EXPECT_EQ(restarts.Ended(at), TAnswer::ShowAgain) << at;
  EXPECT_EQ(restarts.Ended(200000), TAnswer::ShowAgain);
  EXPECT_EQ(restarts.Ended(239999), TAnswer::GiveUp);
  // Tried again by the user within the minute: the page of its own again.
  EXPECT_EQ(restarts.Ended(250000), TAnswer::GiveUp);
  // Once the ends are a minute old, the page is shown again by itself.
  EXPECT_EQ(restarts.Ended(320000), TAnswer::ShowAgain);
}
