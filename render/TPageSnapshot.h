#pragma once

#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "render/MoviePages.h"
#include "render/MoviePictures.h"

#include <atomic>
#include <memory>

class TPictureStore;
class TranslationTable;

// What a page is made from at one moment: the catalog, the settings, the
// page frame, the pictures' context and the language. Page workers each
// hold the snapshot their request began with; opening, reloading and
// applying settings make a new one and never change one in use. The
// picture store is the one shared part that changes: the pictures made so
// far for this catalog, locked inside.
struct TPageSnapshot {
  std::shared_ptr<const TMovieList> Catalog;
  TViewerSettings Settings;
  TPageFrame Frame;
  TPictureContext Pictures;
  std::shared_ptr<const TranslationTable> Language;
  std::shared_ptr<TPictureStore> Store;

  // The page input over this snapshot (valid while it lives).
  TPageInput Input(const std::atomic<bool>* cancelled = nullptr) const {
    TPageInput input{*Catalog, Settings, Frame, Pictures, *Store};
    input.Language = Language.get();
    input.Cancelled = cancelled;
    return input;
  }
};
