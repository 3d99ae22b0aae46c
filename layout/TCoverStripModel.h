#pragma once

#include "layout/TSideBarModel.h"
#include "config/TColor.h"
#include "render/TBitmap.h"
#include "render/TCompactPicture.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The picture strip without painting: its items, the tiles they lay out as,
// the scroll position, the scroll buttons, hover, and the timer's drifting,
// standing and pushing. The widget paints what this computes and routes its
// input and timer here; the model asks it to redraw through TCoverStripView.

constexpr int LeftScrollerCode = 2147483647;
constexpr int RightScrollerCode = 2147483646;

class TCoverStripView {
 public:
  virtual ~TCoverStripView() = default;
  virtual void RedrawEntry(int indexOrCode) = 0;
  virtual void RedrawAll() = 0;
  virtual void SetTimerRunning(bool running) = 0;
  virtual void ShowHintAt(const std::string& hint, int x, int y) = 0;
  virtual void HideHint() = 0;
  virtual void SetHandCursor(bool hand) = 0;
  // A tile's picture arrived (its size was known before).
  virtual void PictureChanged(int index) { RedrawEntry(index); }
};

struct TCoverStripItem {
  std::int64_t Tag = 0;
  std::string Hint;
  TBitmap Bitmap;
  TRect Rect;  // the tile in strip coordinates, set by LayoutItems
  // A picture known by its size before it exists: a big strip is laid out
  // at once and its pictures, kept compact, arrive later; until then a
  // plain placeholder stands in. Used when Bitmap is empty.
  int PictureWidth = 0;
  int PictureHeight = 0;
  std::shared_ptr<const TCompactPicture> Compact = {};
  // Left out by the strip's filter: no tile (an empty Rect).
  bool Hidden = false;

  int Width() const { return Bitmap.Empty() ? PictureWidth : Bitmap.Width; }
  int Height() const { return Bitmap.Empty() ? PictureHeight : Bitmap.Height; }
  bool HasPicture() const { return !Bitmap.Empty() || Compact != nullptr; }
};

class TCoverStripModel;

using TCoverStripKey = TNavigationKey;

// The ordered pictures of one strip, with an update counter that holds the
// layout back during bulk filling.
class TCoverStripItems {
 public:
  explicit TCoverStripItems(TCoverStripModel* owner) : m_owner(owner) {}
  TCoverStripItem& Add(std::int64_t tag, std::string hint, TBitmap bitmap);
  // A tile of this size whose picture comes later.
  TCoverStripItem& AddSized(std::int64_t tag, std::string hint, int width, int height);
  // Its picture, of the size it was added with: only that tile is drawn
  // again. A picture of another size lays the strip out anew.
  void SetPicture(int index, std::shared_ptr<const TCompactPicture> picture);
  void Delete(int index);
  int Count() const { return static_cast<int>(m_items.size()); }
  TCoverStripItem& operator[](int index);
  const TCoverStripItem& operator[](int index) const;
  void Clear();
  void SetHint(int index, std::string hint);
  void BeginUpdate() { ++m_updateCount; }
  void EndUpdate();

 private:
  friend class TCoverStripModel;
  void Changed();

  TCoverStripModel* m_owner;
  std::vector<TCoverStripItem> m_items;
  int m_updateCount = 0;
};

class TCoverStripModel {
 public:
  TCoverStripModel() = default;
  TCoverStripModel(const TCoverStripModel&) = delete;
  TCoverStripModel& operator=(const TCoverStripModel&) = delete;

  void SetView(TCoverStripView* view) { m_view = view; }

  TCoverStripItems& Items() { return m_items; }
  const TCoverStripItems& Items() const { return m_items; }

  bool Active() const { return m_active; }
  void SetActive(bool active);
  TColor ScrollerArrowColor = clWhite;
  TColor ScrollerColor = clBlack;
  TColor ScrollerHoverArrowColor = clYellow;
  TColor ScrollerHoverColor = clBlack;
  bool HandPointCursor = true;
  TColor SelectionColor = clRed;
  int SmallChange = 3;
  int LargeChange = 30;
  TColor Color = clWhite;
  bool ShowHint = false;

  int ClientWidth() const { return m_width; }
  void SetClientSize(int width, int height);

  void LayoutItems();
  // Shows only the items whose tag `shown` keeps (all with none), laid out
  // without gaps; items added later are kept or left out the same way.
  void SetFilter(std::function<bool(std::int64_t tag)> shown);
  int ItemAt(int x, int y) const;
  void MouseDown(int x, int y);
  void MouseMove(int x, int y);
  void MouseLeave();
  void TimerTick();

  // The keyboard: a cursor on one picture that the arrow keys, Home and
  // End move (scrolling it into view) and Enter clicks. While the strip
  // has the keyboard it does not drift by itself. True when the key was
  // used.
  bool KeyDown(TCoverStripKey key);
  int CursorIndex() const { return m_cursor; }
  void SetFocused(bool focused);
  // Scrolls as little as needed to show a picture whole.
  void ShowItem(int index);

  int ScrollPos() const { return m_scrollPos; }
  int MaxScroll() const { return m_maxScroll; }
  bool Scrollable() const { return m_maxScroll > 0; }
  bool CanScrollLeft() const { return m_canScrollLeft; }
  bool CanScrollRight() const { return m_canScrollRight; }
  const TRect& LeftRect() const { return m_leftRect; }
  const TRect& RightRect() const { return m_rightRect; }
  const std::array<std::array<int, 2>, 7>& LeftArrow() const { return m_leftArrow; }
  const std::array<std::array<int, 2>, 7>& RightArrow() const { return m_rightArrow; }
  int HoverIndex() const { return m_hoverIndex; }
  bool ScrollingLeft() const { return m_scrollingLeft; }
  bool ScrollingRight() const { return m_scrollingRight; }
  bool AutoReverse() const { return m_autoReverse; }
  // The first item whose tile reaches into the visible strip (binary search).
  int FirstVisibleItem() const;

  std::function<void(TCoverStripModel& sender, int index)> OnClick;
  std::function<void(TCoverStripModel& sender, int index)> OnHover;

 private:
  friend class TCoverStripItems;
  void ItemsChanged();
  void UpdateScrollButtons();
  void Redraw(int indexOrCode);
  void RedrawAll();
  bool IsPicture(int index) const { return index >= 0 && index < m_items.Count() && !m_items[index].Hidden; }
  // The next shown item from `index` on in the direction of `step` (+1 or
  // -1), or -1.
  int ShownFrom(int index, int step) const;

  TCoverStripView* m_view = nullptr;
  TCoverStripItems m_items{this};
  std::function<bool(std::int64_t tag)> m_filter;
  bool m_active = false;
  int m_scrollerSize = 25;
  int m_width = 0;
  int m_height = 130;
  int m_scrollPos = 0;
  int m_maxScroll = 0;
  bool m_canScrollLeft = false;
  bool m_canScrollRight = false;
  TRect m_leftRect;
  TRect m_rightRect;
  std::array<std::array<int, 2>, 7> m_leftArrow{};
  std::array<std::array<int, 2>, 7> m_rightArrow{};
  int m_hoverIndex = -1;
  int m_lastHoverIndex = -1;
  int m_lastDirection = 0;
  bool m_scrollingLeft = true;
  bool m_scrollingRight = false;
  bool m_autoReverse = true;
  int m_cursor = -1;
  bool m_focused = false;
};

// n / d rounded to the nearest integer, halves to the even neighbour (n, d > 0).
std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator);
