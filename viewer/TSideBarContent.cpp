#include "viewer/TSideBarContent.h"

#include "browse/RandomPick.h"
#include "catalog/DisplayRules.h"
#include "render/MovieAddress.h"
#include "render/TPageSession.h"
#include "viewer/TFilterRunner.h"
#include "viewer/TFormMainUi.h"
#include "viewer/TStatusLine.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWindowCommands.h"
#include "viewer/WindowPanels.h"
#include "widgets/QtBridge.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSearchEdit.h"
#include "widgets/TSideBar.h"

#include <QLineEdit>

TSideBarContent::TSideBarContent(TFormMainUi& ui, TPageSession& session, TStatusLine& status, QObject* parent)
    : QObject(parent), m_ui(ui), m_session(session), m_status(status), m_filter(new TFilterRunner(this)) {
  m_filter->OnFiltered = [this](const std::vector<bool>& kept, int count) {
    RunGuarded([&] { ShowFiltered(kept, count); });
  };
  QObject::connect(m_ui.FilterBox, &QLineEdit::textChanged, this,
                   [this](const QString& text) { RunGuarded([&] { FilterTyped(text); }); });
  m_ui.CoverStrip->OnClick = [this](TCoverStrip&, int index) { RunGuarded([&] { StripClicked(index); }); };
  m_ui.SideBar->OnSelect = [this](TSideBar&, int index, int subIndex, const std::string&) {
    RunGuarded([&] { SideBarChosen(index, subIndex); });
  };
}

void TSideBarContent::BindCommands(TWindowCommands& commands) {
  commands.Bind(TWindowCommand::FindInCollection, [this] { FocusForTyping(*m_ui.FilterBox); });
  commands.Bind(TWindowCommand::ClearFilter, [this] { m_ui.FilterBox->clear(); });
  commands.Bind(TWindowCommand::RandomMovie, [this] { ShowRandomMovie(); });
}

void TSideBarContent::Refresh() {
  const TViewerSettings& s = m_session.Settings();
  const TMovieList& catalog = m_session.Catalog();
  m_plan = ArrangeSideBar(catalog, s.LastGroup, s.LastGroupDesc, s.LastOrder, s.LastOrderDesc);
  FillSideBar(m_plan, catalog, m_ui.SideBar->Model(), s.TitleType, m_kept ? &*m_kept : nullptr);
  m_ui.GroupCaptionText = ToQString(m_plan.Caption);
  WindowPanels::PlaceGroupCaption(m_ui);
}

void TSideBarContent::CatalogChanged() {
  m_selection.clear();
  // What was kept belongs to the catalog before; the text filters the new one.
  m_kept.reset();
  m_ui.CoverStrip->Model().SetFilter(nullptr);
  m_filter->SetCatalog(m_session.Snapshot()->Catalog);
  if (!m_ui.FilterBox->text().isEmpty()) m_filter->Filter(FromQString(m_ui.FilterBox->text()));
}

void TSideBarContent::SelectFirst() {
  TSideBarItems& sections = m_ui.SideBar->Items();
  if (sections.Count() == 0 || sections[0].Items().Count() == 0) return;
  m_ui.SideBar->SetItemIndex(0);
  m_ui.SideBar->SetSubItemIndex(0);
  SideBarChosen(0, 0);
}

void TSideBarContent::SideBarChosen(int index, int subIndex) {
  if (index == -1 || subIndex == -1) return;
  Choose(SideBarItemHandles(m_ui.SideBar->Model(), index, subIndex));
}

void TSideBarContent::StripClicked(int index) {
  if (index < 0 || index >= m_ui.CoverStrip->Items().Count()) return;
  m_ui.SideBar->SetItemIndex(-1);
  m_ui.SideBar->SetSubItemIndex(-1);
  Choose(std::to_string(m_ui.CoverStrip->Items()[index].Tag));
}

void TSideBarContent::Choose(std::string handles) {
  m_selection = std::move(handles);
  if (OnShow) OnShow(m_selection);
}

void TSideBarContent::KeepPlace() {
  m_placeBeforeReload = TakeSideBarPlace(m_ui.SideBar->Model(), m_session.Catalog(), m_selection);
}

void TSideBarContent::RestorePlace() {
  const TRestoredPlace restored =
      m_placeBeforeReload ? RestoreSideBarPlace(m_ui.SideBar->Model(), m_session.Catalog(), *m_placeBeforeReload)
                          : TRestoredPlace{};
  m_placeBeforeReload.reset();
  if (restored.Handles.empty()) {
    m_selection.clear();
    SelectFirst();
    return;
  }
  if (restored.Section >= 0) {
    m_ui.SideBar->SetItemIndex(restored.Section);
    m_ui.SideBar->SetSubItemIndex(restored.Item);
  }
  Choose(restored.Handles);
}

void TSideBarContent::FilterTyped(const QString& text) {
  if (!text.isEmpty()) {
    m_filter->Filter(FromQString(text));
    return;
  }
  m_filter->Stop();
  if (!m_kept) return;
  m_kept.reset();
  const TMovieList& catalog = m_session.Catalog();
  FillSideBar(m_plan, catalog, m_ui.SideBar->Model(), m_session.Settings().TitleType, nullptr);
  if (m_placeBeforeFilter) RestoreSideBarPlace(m_ui.SideBar->Model(), catalog, *m_placeBeforeFilter);
  m_placeBeforeFilter.reset();
  MarkMovieShown();
  m_ui.CoverStrip->Model().SetFilter(nullptr);
  m_status.ShowFiltered(std::nullopt);
}

void TSideBarContent::ShowFiltered(const std::vector<bool>& kept, int count) {
  const TMovieList& catalog = m_session.Catalog();
  if (kept.size() != static_cast<std::size_t>(catalog.Count())) return;
  // The user's sections come back when the filter is cleared.
  if (!m_kept) m_placeBeforeFilter = TakeSideBarPlace(m_ui.SideBar->Model(), catalog, m_selection);
  m_kept = kept;
  FillSideBar(m_plan, catalog, m_ui.SideBar->Model(), m_session.Settings().TitleType, &*m_kept);
  MarkMovieShown();
  m_ui.CoverStrip->Model().SetFilter([&catalog, kept](std::int64_t handle) {
    const int place = catalog.PlaceOf(handle);
    return place >= 0 && kept[static_cast<std::size_t>(place)];
  });
  m_status.ShowFiltered(count);
}

void TSideBarContent::MarkMovieShown() {
  // The movie on screen stays chosen where the side bar still lists it.
  TSideBarModel& bar = m_ui.SideBar->Model();
  const std::optional<std::int64_t> handle = ParseHandle(m_selection);
  for (int section = 0; handle && section < bar.Items().Count(); ++section) {
    for (int item = 0; item < bar.Items()[section].Items().Count(); ++item) {
      const TMovie* movie = SideBarItemMovie(bar, section, item);
      if (movie == nullptr || movie->Handle != *handle) continue;
      m_ui.SideBar->SetItemIndex(section);
      m_ui.SideBar->SetSubItemIndex(item);
      return;
    }
  }
}

void TSideBarContent::ShowRandomMovie() {
  const TMovieList& catalog = m_session.Catalog();
  std::vector<std::int64_t> offered;
  for (int i = 0; i < catalog.Count(); ++i) {
    if (!m_kept || (*m_kept)[static_cast<std::size_t>(i)]) offered.push_back(catalog.Items(i).Handle);
  }
  const std::int64_t handle = PickRandomMovie(offered, m_lastRandom, m_random);
  if (handle < 0) return;
  m_lastRandom = handle;
  m_selection = std::to_string(handle);
  MarkMovieShown();
  TCoverStripModel& strip = m_ui.CoverStrip->Model();
  for (int i = 0; i < strip.Items().Count(); ++i) {
    if (strip.Items()[i].Tag == handle) strip.ShowItem(i);
  }
  Choose(m_selection);
}
