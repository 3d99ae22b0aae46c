#pragma once

#include "layout/TRect.h"
#include "layout/TNavigationKey.h"
#include "config/TColor.h"

#include <any>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The side bar without painting: sections of items, the rows they lay out
// as, the scroll position, hover and selection, and what pointer, wheel and
// keys do to them. A toolkit widget measures and paints the rows this model
// computes and routes its input here; the model asks it to redraw through
// TSideBarView, one row (or scroll button) at a time.

constexpr int UpScrollerCode = 2147483647;
constexpr int DownScrollerCode = 2147483646;


enum class TSideBarAlign { saLeft, saCenter, saRight };
enum class TSideBarBullet { sbRound, sbRectangle, sbDiamond };

// Row states as a bit set.
enum TSideBarState : unsigned { ssNormal = 1, ssHover = 2, ssSelected = 4, ssDisabled = 8 };
using TSideBarStates = unsigned;

struct TSideBarItemStyle {
  TFontSpec NormalFont;
  TFontSpec HoverFont{"Arial", -11, false, clRed};
  TFontSpec SelectedFont;
  TFontSpec DisabledFont{"Arial", -11, false, clGrayText};
  TColor NormalColor = clBtnFace;
  TColor HoverColor = RgbColor(0xFF, 0xFF, 0xAA);
  TColor SelectedColor = clBtnHighlight;
  TColor LineColor = clWindowText;
};

struct TSideBarBulletStyle {
  bool Visible = true;
  int Size = 5;
  TSideBarBullet Kind = TSideBarBullet::sbRound;
  TColor NormalColor = clWindowText;
  TColor HoverColor = clRed;
  TColor SelectedColor = clWindowText;
  TColor DisabledColor = clGrayText;
  TColor NormalPenColor = clWindowText;
  TColor HoverPenColor = clRed;
  TColor SelectedPenColor = clWindowText;
  TColor DisabledPenColor = clGrayText;
};

struct TSideBarScrollerStyle {
  TColor NormalColor = clBlack;
  TColor HoverColor = clWhite;
  TColor NormalArrowColor = clWhite;
  TColor HoverArrowColor = clBlack;
};

struct TSideBarRow {
  int Index = -1;
  int SubIndex = -1;
  bool IsSubItem = false;
  TRect Rect;
  bool Disabled = false;
  std::string Caption;
};

// How the model asks its widget to draw: one row, a scroll button (by its
// code) or everything.
class TSideBarView {
 public:
  virtual ~TSideBarView() = default;
  virtual void RedrawRow(int rowOrCode) = 0;
  virtual void RedrawAll() = 0;
};

class TSideBarItems;
class TSideBarModel;

// A section's item texts, each with an optional object reference (not
// owned). Every change is a change of the whole collection.
class TSideBarStrings {
 public:
  int Count() const { return static_cast<int>(m_texts.size()); }
  void Add(std::string text, const void* object = nullptr);
  const std::string& Strings(int index) const;
  const void* Objects(int index) const;
  void SetString(int index, std::string text);
  void Clear();

 private:
  friend class TSideBarItem;
  class TSideBarItem* m_owner = nullptr;
  std::vector<std::string> m_texts;
  std::vector<const void*> m_objects;
};

// One section. Setters compare with the old value and report a change of
// the collection (or, for the image index, of this section only).
class TSideBarItem {
 public:
  explicit TSideBarItem(TSideBarItems* owner, int index);
  TSideBarItem(const TSideBarItem&) = delete;
  TSideBarItem& operator=(const TSideBarItem&) = delete;

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  TSideBarStrings& Items() { return m_items; }
  const TSideBarStrings& Items() const { return m_items; }
  bool Expanded() const { return m_expanded; }
  void SetExpanded(bool expanded);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);
  // Free for the owner; whatever it holds is released with the section.
  std::any Tag;
  // Per item: bit 0 disabled, bit 2 hidden. Items past the end are plain.
  std::vector<int> SubItemFlags;
  bool SubItemDisabled(int index) const;
  bool SubItemHidden(int index) const;

  int Index() const { return m_index; }
  // Sets Expanded without reporting the change (the click that expands a
  // collapsed section rebuilds by itself).
  void SetExpandedSilently(bool expanded) { m_expanded = expanded; }

 private:
  friend class TSideBarStrings;
  friend class TSideBarItems;
  void Changed(bool wholeCollection);

  TSideBarItems* m_owner;
  int m_index;
  std::string m_caption;
  TSideBarStrings m_items;
  bool m_expanded = true;
  bool m_enabled = true;
  bool m_visible = true;
};

// The ordered sections of one side bar.
class TSideBarItems {
 public:
  explicit TSideBarItems(TSideBarModel* sideBar) : m_sideBar(sideBar) {}
  TSideBarItem& Add();
  int Count() const { return static_cast<int>(m_items.size()); }
  TSideBarItem& operator[](int index);
  const TSideBarItem& operator[](int index) const;
  void Clear();
  // Holds change reports back until the matching EndUpdate.
  void BeginUpdate() { ++m_updateCount; }
  void EndUpdate();

 private:
  friend class TSideBarItem;
  void Changed(TSideBarItem* item, bool wholeCollection);

  TSideBarModel* m_sideBar;
  std::vector<std::unique_ptr<TSideBarItem>> m_items;
  int m_updateCount = 0;
};

using TSideBarEvent = std::function<void(TSideBarModel& sender, int index, int subIndex, const std::string& caption)>;

using TSideBarKey = TNavigationKey;

class TSideBarModel {
 public:
  TSideBarModel();
  TSideBarModel(const TSideBarModel&) = delete;
  TSideBarModel& operator=(const TSideBarModel&) = delete;

  void SetView(TSideBarView* view) { m_view = view; }

  // Appearance.
  TSideBarItemStyle ItemStyle;
  TSideBarItemStyle SubItemStyle;
  TSideBarBulletStyle Bullets;
  TSideBarScrollerStyle Scrollers;
  TColor Color = clBtnFace;
  bool HandPointCursor = false;
  int Tag = 0;

  TSideBarItems& Items() { return m_items; }
  const TSideBarItems& Items() const { return m_items; }

  int ItemIndex() const { return m_itemIndex; }
  int SubItemIndex() const { return m_subItemIndex; }
  void SetItemIndex(int value);
  void SetSubItemIndex(int value);

  int SubItemHeight() const { return m_subItemHeight; }
  TSideBarAlign Alignment() const { return m_alignment; }
  void SetAlignment(TSideBarAlign value);
  int Margin() const { return m_margin; }
  int GroupSeparator() const { return m_groupSeparator; }
  int Indent() const { return m_indent; }
  void SetAlwaysExpand(bool value);

  // The client size; a change scrolls back to the top and lays out anew.
  int ClientWidth() const { return m_width; }
  void SetClientSize(int width, int height);

  void BeginUpdate() { m_updating = true; }
  void EndUpdate();
  bool Updating() const { return m_updating; }

  void UpdateLayout(bool rebuildRows);
  // The row at a point of the control, or -1 (binary search: rows lie in
  // order from top to bottom).
  int RowAt(int x, int y) const;
  void RedrawSection(int index);

  // Scrolling by whole rows; each repaints the control when it moves.
  void ScrollUp();
  void ScrollDown();
  void PageUp();
  void PageDown();
  // Scrolls so that `topIndex` is the first row shown (kept in range).
  void SetTopIndex(int topIndex) { ScrollTo(topIndex); }

  // Input, as the widget receives it. Press handles any button.
  void MouseDown(int x, int y);
  void MouseMove(int x, int y);
  void MouseLeave();
  // True when the wheel scrolled; false leaves it to the default handling.
  bool Wheel(int delta);
  // True when the key should go on to the default key handling.
  bool KeyDown(TSideBarKey key);
  // Type-ahead: a character typed at `milliseconds` (any clock). Characters
  // typed within a second of each other make one prefix; the keyboard
  // cursor (the hover row) moves to the next row whose caption starts with
  // it, letter case of A to Z ignored, wrapping round. True when it moved.
  static constexpr long long kTypeAheadMilliseconds = 1000;
  bool TypeAhead(char c, long long milliseconds);
  const std::string& TypedPrefix() const { return m_typed; }
  // Scrolls as little as needed to show a row.
  void ShowRow(int row);

  // The state a row is drawn in.
  TSideBarStates RowStates(int row) const;
  // The first row of the non-item area below the rows, in control pixels.
  int NonItemTop() const;

  const std::vector<TSideBarRow>& Rows() const { return m_rows; }
  int TopIndex() const { return m_topIndex; }
  int LastIndex() const { return m_lastIndex; }
  int ScrollOffset() const { return m_scrollOffset; }
  bool CanScrollUp() const { return m_canScrollUp; }
  bool CanScrollDown() const { return m_canScrollDown; }
  const TRect& UpRect() const { return m_upRect; }
  const TRect& DownRect() const { return m_downRect; }
  int HoverRow() const { return m_hoverRow; }
  int SelectedItemRow() const { return m_selectedItemRow; }
  int SelectedSubItemRow() const { return m_selectedSubItemRow; }
  // Whether the pointer is over something clickable (for the hand cursor).
  bool PointerOverRow() const { return m_pointerOverRow; }

  TSideBarEvent OnSelect;
  TSideBarEvent OnHover;

 private:
  friend class TSideBarItems;
  friend class TSideBarItem;
  void ItemsChanged(TSideBarItem* item, bool wholeCollection);
  // Stores a changed layout property, lays the rows out again and repaints.
  template <typename T>
  void SetLayoutValue(T& field, T value, bool rebuildRows);
  void SectionHidden(int index);
  void Redraw(int rowOrCode);
  void RedrawAll();
  void ScrollTo(int topIndex);
  void KeepRowsInRange();
  int FirstRowOfSection(int index) const;
  int RowOfItem(int index, int subIndex) const;
  bool IsRow(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()); }
  void MoveHover(int newRow);

  TSideBarView* m_view = nullptr;
  TSideBarItems m_items{this};
  int m_itemIndex = -1;
  int m_subItemIndex = -1;
  int m_itemHeight = 30;
  int m_subItemHeight = 18;
  TSideBarAlign m_alignment = TSideBarAlign::saLeft;
  int m_margin = 8;
  int m_groupSeparator = 10;
  int m_indent = 10;
  bool m_alwaysExpand = true;
  int m_width = 200;
  int m_height = 0;

  std::vector<TSideBarRow> m_rows;
  int m_topIndex = 0;
  int m_lastIndex = -1;
  int m_scrollOffset = 0;
  bool m_canScrollUp = false;
  bool m_canScrollDown = false;
  TRect m_upRect;
  TRect m_downRect;
  int m_hoverRow = -1;
  int m_lastHoverRow = -1;
  int m_selectedItemRow = -1;
  int m_selectedSubItemRow = -1;
  bool m_updating = false;
  bool m_pointerOverRow = false;
  std::string m_typed;
  long long m_lastTyped = 0;
};
