#pragma once

#include "browse/Grouping.h"
#include "browse/SideBarPlace.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

class QString;
class TFilterRunner;
class TPageSession;
class TStatusLine;
class TWindowCommands;
struct TFormMainUi;

// What the side bar lists and which movies are chosen: the open catalog
// arranged as the sort menus say, narrowed by the filter box as the user
// types (on a worker), the movie shown kept chosen where the side bar still
// lists it, and the place the user had kept over a reload. A click in the
// side bar or the strip, or a random pick, chooses the movies OnShow shows.
class TSideBarContent : public QObject {
 public:
  TSideBarContent(TFormMainUi& ui, TPageSession& session, TStatusLine& status, QObject* parent);

  // The handle list of the page chosen last in the side bar or the strip.
  const std::string& Selection() const { return m_selection; }
  // The movies chosen, to be shown.
  std::function<void(const std::string& handles)> OnShow;
  // Finding in the collection, clearing the filter, and the random pick.
  void BindCommands(TWindowCommands& commands);

  // The side bar arranged again (the catalog, the order or the language changed).
  void Refresh();
  // A catalog opened, closed or read again: nothing is chosen in it yet,
  // and the filter's text applies to it.
  void CatalogChanged();
  void SelectFirst();
  void SideBarChosen(int index, int subIndex);
  void StripClicked(int index);
  // Before and after a reload: the section, the movie and the scroll the
  // user had (or else the first movie) come back.
  void KeepPlace();
  void RestorePlace();
  // Among the movies the side bar shows, filtered or not.
  void ShowRandomMovie();

 private:
  void FilterTyped(const QString& text);
  void ShowFiltered(const std::vector<bool>& kept, int count);
  void MarkMovieShown();
  void Choose(std::string handles);

  TFormMainUi& m_ui;
  TPageSession& m_session;
  TStatusLine& m_status;
  TFilterRunner* m_filter;
  std::string m_selection;
  TSideBarPlan m_plan;
  // What the filter keeps (by place in the catalog); the place to return
  // to when it is cleared, and the one kept over a reload.
  std::optional<std::vector<bool>> m_kept;
  std::optional<TSideBarPlace> m_placeBeforeFilter;
  std::optional<TSideBarPlace> m_placeBeforeReload;
  std::mt19937 m_random{std::random_device{}()};
  std::int64_t m_lastRandom = -1;
};
