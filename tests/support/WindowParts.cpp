#include "tests/support/WindowParts.h"

#include "viewer/TWebView.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TImageButton.h"
#include "widgets/TSideBar.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <stdexcept>

namespace {

template <typename T>
void Find(const QWidget& window, T*& part, const char* name) {
  part = window.findChild<T*>(QString::fromLatin1(name));
  if (part == nullptr) throw std::runtime_error(std::string("the window has no ") + name);
}

}  // namespace

TWindowParts Parts(const QWidget& window) {
  TWindowParts parts;
  Find(window, parts.CoverStrip, "coverStrip");
  Find(window, parts.CaptionBar, "captionBar");
  Find(window, parts.OpenButton, "openButton");
  Find(window, parts.EditButton, "editButton");
  Find(window, parts.SettingsButton, "settingsButton");
  Find(window, parts.PlayButton, "playButton");
  Find(window, parts.SearchPanel, "searchPanel");
  Find(window, parts.BackButton, "backButton");
  Find(window, parts.SearchField, "searchField");
  Find(window, parts.SearchBox, "searchBox");
  Find(window, parts.SearchButton, "searchButton");
  Find(window, parts.OwnerTitle, "ownerTitle");
  Find(window, parts.CollectionTitle, "collectionTitle");
  Find(window, parts.SidePane, "sidePane");
  Find(window, parts.GroupBar, "groupBar");
  Find(window, parts.GroupLabel, "groupLabel");
  Find(window, parts.SideBarMenuButton, "sideBarMenuButton");
  Find(window, parts.FilterBox, "filterBox");
  Find(window, parts.SideBar, "sideBar");
  Find(window, parts.Splitter, "splitter");
  Find(window, parts.PageBorder, "pageBorder");
  Find(window, parts.PageView, "pageView");
  Find(window, parts.StatusBar, "statusBar");
  Find(window, parts.StatusCount, "statusCount");
  Find(window, parts.StatusDivider, "statusDivider");
  Find(window, parts.StatusText, "statusText");
  Find(window, parts.ClosePanel, "closePanel");
  Find(window, parts.CloseButton, "closeButton");
  Find(window, parts.SideBarMenu, "sideBarMenu");
  parts.OwnerTitleText = parts.OwnerTitle->accessibleName();
  parts.CollectionTitleText = parts.CollectionTitle->accessibleName();
  return parts;
}

void ChooseInSideBar(QWidget& window, int section, int item) {
  TSideBar& bar = *Parts(window).SideBar;
  bar.OnSelect(bar, section, item, std::string());
}

void ClickStrip(QWidget& window, int index) {
  TCoverStrip& strip = *Parts(window).CoverStrip;
  strip.OnClick(strip, index);
}
