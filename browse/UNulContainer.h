#pragma once

#include "config/ResultCodes.h"

#include <cstdint>
#include <string>

// The browser host: the object the web view asks how to present pages
// (border, scroll bars, text selection, a host style sheet, the context
// menu). TNulWBContainer answers every question neutrally; TWBContainer adds
// the five options and overrides the two answers they change. The host only
// answers; the window's web view asks it at every page and applies the
// answers, so nothing here knows a toolkit.

// Flags of TDocHostUIInfo::dwFlags.
namespace HostFlag {
constexpr std::uint32_t DOCHOSTUIFLAG_DIALOG = 0x1;
constexpr std::uint32_t DOCHOSTUIFLAG_NO3DBORDER = 0x4;
constexpr std::uint32_t DOCHOSTUIFLAG_SCROLL_NO = 0x8;
constexpr std::uint32_t DOCHOSTUIFLAG_THEME = 0x40000;
constexpr std::uint32_t DOCHOSTUIFLAG_NOTHEME = 0x80000;
}  // namespace HostFlag

// The host information handed to the view for every page.
struct TDocHostUIInfo {
  std::uint32_t cbSize = 0;
  std::uint32_t dwFlags = 0;
  std::uint32_t dwDoubleClick = 0;
  // The style sheet, ending in its terminator; the view owns its copy.
  std::u16string pchHostCss;
  std::u16string pchHostNS;
};

// Whether the application draws its controls with the desktop's visual
// theme.
enum class TVisualThemes { InUse, AvailableNotUsed, NotAvailable };

// The interfaces the host answers for.
enum class THostInterface { IUnknown, IOleClientSite, IDocHostUIHandler, Other };

class TNulWBContainer;

// The web view as the host sees it.
class TBrowserControl {
 public:
  virtual ~TBrowserControl() = default;
  // False when the view cannot take a client site at all.
  virtual bool SupportsClientSite() const = 0;
  // Attaches the host (nullptr detaches it).
  virtual void SetClientSite(TNulWBContainer* site) = 0;
  // The view's own popup menu, shown instead of the built-in context menu
  // when the host asks for it.
  virtual bool HasPopupMenu() const = 0;
  virtual void PopupMenuAt(int screenX, int screenY) = 0;
};

class TNulWBContainer {
 public:
  // Attaches itself to the control. Throws TViewerError "Browser's Default
  // interface does not support IOleObject" when the control takes no site.
  explicit TNulWBContainer(TBrowserControl& browser);
  virtual ~TNulWBContainer();
  TNulWBContainer(const TNulWBContainer&) = delete;
  TNulWBContainer& operator=(const TNulWBContainer&) = delete;

  TBrowserControl& HostedBrowser() const { return m_browser; }

  // The site must be empty or this object itself; anything else is a
  // programming error.
  void AttachToBrowser(TNulWBContainer* site);

  // IUnknown: the owner alone decides the lifetime, so nothing is counted.
  std::int32_t QueryInterface(THostInterface iid, void** object);
  std::uint32_t AddRef() { return 0xFFFFFFFFu; }
  std::uint32_t Release() { return 0xFFFFFFFFu; }

  // IOleClientSite.
  std::int32_t SaveObject() { return ResultCode::kOk; }
  std::int32_t GetMoniker(void** moniker);
  std::int32_t GetContainer(void** container);
  std::int32_t ShowObject() { return ResultCode::kOk; }
  std::int32_t OnShowWindow(bool) { return ResultCode::kOk; }
  std::int32_t RequestNewObjectLayout() { return ResultCode::kNotImplemented; }

  // IDocHostUIHandler.
  virtual std::int32_t ShowContextMenu(std::uint32_t menuId, int screenX, int screenY);
  virtual std::int32_t GetHostInfo(TDocHostUIInfo& info);
  std::int32_t ShowUI() { return ResultCode::kOk; }
  std::int32_t HideUI() { return ResultCode::kOk; }
  std::int32_t UpdateUI() { return ResultCode::kOk; }
  std::int32_t EnableModeless(bool) { return ResultCode::kOk; }
  std::int32_t OnDocWindowActivate(bool) { return ResultCode::kOk; }
  std::int32_t OnFrameWindowActivate(bool) { return ResultCode::kOk; }
  std::int32_t ResizeBorder() { return ResultCode::kFalse; }
  std::int32_t TranslateAccelerator() { return ResultCode::kFalse; }
  std::int32_t GetOptionKeyPath(std::u16string&) { return ResultCode::kFail; }
  std::int32_t GetDropTarget(void** target);
  std::int32_t GetExternal(void** dispatch);
  std::int32_t TranslateUrl(const std::u16string&, std::u16string&) { return ResultCode::kFail; }
  std::int32_t FilterDataObject(void** object);

 private:
  TBrowserControl& m_browser;
};

// The host with its options, read whenever the view asks.
class TWBContainer : public TNulWBContainer {
 public:
  explicit TWBContainer(TBrowserControl& browser, TVisualThemes themes = TVisualThemes::InUse);

  bool UsePopupMenu() const { return m_usePopupMenu; }
  void SetUsePopupMenu(bool value) { m_usePopupMenu = value; }
  bool ScrollBarsVisible() const { return m_scrollBarsVisible; }
  void SetScrollBarsVisible(bool value) { m_scrollBarsVisible = value; }
  bool BorderVisible() const { return m_borderVisible; }
  void SetBorderVisible(bool value) { m_borderVisible = value; }
  bool TextSelectable() const { return m_textSelectable; }
  void SetTextSelectable(bool value) { m_textSelectable = value; }
  // Single-byte text (Windows-1252), as the rest of the program keeps texts.
  const std::string& HostStyleSheet() const { return m_hostStyleSheet; }
  void SetHostStyleSheet(const std::string& value) { m_hostStyleSheet = value; }

  std::int32_t ShowContextMenu(std::uint32_t menuId, int screenX, int screenY) override;
  std::int32_t GetHostInfo(TDocHostUIInfo& info) override;

 private:
  TVisualThemes m_themes;
  bool m_usePopupMenu = false;
  bool m_scrollBarsVisible = true;
  bool m_borderVisible = true;
  bool m_textSelectable = true;
  std::string m_hostStyleSheet;
};

// The flags of the host information for a set of options.
std::uint32_t HostInfoFlags(bool scrollBarsVisible, bool borderVisible, bool textSelectable, TVisualThemes themes);
