#include "browse/UNulContainer.h"

#include "config/TViewerError.h"
#include "config/TextEncoding.h"

#include <cassert>

namespace {

constexpr std::uint32_t kHostInfoSize = 20;

std::int32_t Cleared(void** out, std::int32_t result) {
  if (out != nullptr) *out = nullptr;
  return result;
}

}  // namespace

TNulWBContainer::TNulWBContainer(TBrowserControl& browser) : m_browser(browser) { AttachToBrowser(this); }

TNulWBContainer::~TNulWBContainer() {
  // The view must not keep asking a host that is gone.
  if (m_browser.SupportsClientSite()) m_browser.SetClientSite(nullptr);
}

void TNulWBContainer::AttachToBrowser(TNulWBContainer* site) {
  assert((site == nullptr || site == this) && "UNulContainer: foreign client site");
  if (!m_browser.SupportsClientSite()) throw TViewerError("Browser's Default interface does not support IOleObject");
  m_browser.SetClientSite(site);
}

std::int32_t TNulWBContainer::QueryInterface(THostInterface iid, void** object) {
  if (iid == THostInterface::Other) return Cleared(object, ResultCode::kNoInterface);
  if (object != nullptr) *object = this;
  return ResultCode::kOk;
}

std::int32_t TNulWBContainer::GetMoniker(void** moniker) { return Cleared(moniker, ResultCode::kNotImplemented); }
std::int32_t TNulWBContainer::GetContainer(void** container) { return Cleared(container, ResultCode::kNoInterface); }
std::int32_t TNulWBContainer::GetDropTarget(void** target) { return Cleared(target, ResultCode::kFail); }
std::int32_t TNulWBContainer::GetExternal(void** dispatch) { return Cleared(dispatch, ResultCode::kFail); }
std::int32_t TNulWBContainer::FilterDataObject(void** object) { return Cleared(object, ResultCode::kFalse); }

std::int32_t TNulWBContainer::ShowContextMenu(std::uint32_t, int, int) { return ResultCode::kFalse; }

std::int32_t TNulWBContainer::GetHostInfo(TDocHostUIInfo&) { return ResultCode::kOk; }

TWBContainer::TWBContainer(TBrowserControl& browser, TVisualThemes themes) : TNulWBContainer(browser), m_themes(themes) {}

std::int32_t TWBContainer::ShowContextMenu(std::uint32_t, int screenX, int screenY) {
  if (!m_usePopupMenu) return ResultCode::kFalse;
  if (HostedBrowser().HasPopupMenu()) HostedBrowser().PopupMenuAt(screenX, screenY);
  // Either way the view shows no menu of its own.
  return ResultCode::kOk;
}

std::int32_t TWBContainer::GetHostInfo(TDocHostUIInfo& info) {
  try {
    info = TDocHostUIInfo();
    info.cbSize = kHostInfoSize;
    info.dwFlags = HostInfoFlags(m_scrollBarsVisible, m_borderVisible, m_textSelectable, m_themes);
    // Also an empty style sheet is handed over, as just its terminator.
    info.pchHostCss = Utf8ToUtf16(Cp1252ToUtf8(m_hostStyleSheet));
    info.pchHostCss.push_back(u'\0');
    return ResultCode::kOk;
  } catch (...) {
    // Out of memory for the copy: the view keeps its own defaults.
    info = TDocHostUIInfo();
    return ResultCode::kFail;
  }
}

std::uint32_t HostInfoFlags(bool scrollBarsVisible, bool borderVisible, bool textSelectable, TVisualThemes themes) {
  std::uint32_t flags = 0;
  if (!scrollBarsVisible) flags |= HostFlag::DOCHOSTUIFLAG_SCROLL_NO;
  if (!borderVisible) flags |= HostFlag::DOCHOSTUIFLAG_NO3DBORDER;
  if (!textSelectable) flags |= HostFlag::DOCHOSTUIFLAG_DIALOG;
  if (themes == TVisualThemes::InUse) {
    flags |= HostFlag::DOCHOSTUIFLAG_THEME;
  } else if (themes == TVisualThemes::AvailableNotUsed) {
    flags |= HostFlag::DOCHOSTUIFLAG_NOTHEME;
  }
  return flags;
}
