#include "layout/TSideBarModel.h"

#include "config/TViewerError.h"

#include <algorithm>

namespace {

[[noreturn]] void IndexError(int index) {
  throw TViewerError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// ---- TSideBarStrings ----

void TSideBarStrings::Add(std::string text, const void* object) {
  m_texts.push_back(std::move(text));
  m_objects.push_back(object);
  if (m_owner) m_owner->Changed(true);
}

const std::string& TSideBarStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return m_texts[static_cast<std::size_t>(index)];
}

const void* TSideBarStrings::Objects(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return m_objects[static_cast<std::size_t>(index)];
}

void TSideBarStrings::SetString(int index, std::string text) {
  if (index < 0 || index >= Count()) IndexError(index);
  m_texts[static_cast<std::size_t>(index)] = std::move(text);
  if (m_owner) m_owner->Changed(true);
}

void TSideBarStrings::Clear() {
  m_texts.clear();
  m_objects.clear();
  if (m_owner) {
    m_owner->SubItemFlags.clear();
    m_owner->Changed(true);
  }
}

// ---- TSideBarItem ----

TSideBarItem::TSideBarItem(TSideBarItems* owner, int index) : m_owner(owner), m_index(index) { m_items.m_owner = this; }

void TSideBarItem::Changed(bool wholeCollection) {
  if (m_owner) m_owner->Changed(this, wholeCollection);
}

void TSideBarItem::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  Changed(true);
}

void TSideBarItem::SetExpanded(bool expanded) {
  if (expanded == m_expanded) return;
  m_expanded = expanded;
  Changed(true);
}

void TSideBarItem::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  Changed(true);
}

void TSideBarItem::SetVisible(bool visible) {
  if (visible == m_visible) return;
  if (!visible && m_owner) m_owner->m_sideBar->SectionHidden(m_index);
  m_visible = visible;
  Changed(true);
}

bool TSideBarItem::SubItemDisabled(int index) const {
  return index >= 0 && index < static_cast<int>(SubItemFlags.size()) && (SubItemFlags[static_cast<std::size_t>(index)] & 1) != 0;
}

bool TSideBarItem::SubItemHidden(int index) const {
  return index >= 0 && index < static_cast<int>(SubItemFlags.size()) && (SubItemFlags[static_cast<std::size_t>(index)] & 4) != 0;
}

// ---- TSideBarItems ----

TSideBarItem& TSideBarItems::Add() {
  m_items.push_back(std::make_unique<TSideBarItem>(this, Count()));
  Changed(nullptr, true);
  return *m_items.back();
}

TSideBarItem& TSideBarItems::operator[](int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  return *m_items[static_cast<std::size_t>(index)];
}

const TSideBarItem& TSideBarItems::operator[](int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return *m_items[static_cast<std::size_t>(index)];
}

void TSideBarItems::Clear() {
  m_items.clear();
  Changed(nullptr, true);
}

void TSideBarItems::EndUpdate() {
  if (m_updateCount > 0 && --m_updateCount == 0) Changed(nullptr, true);
}

void TSideBarItems::Changed(TSideBarItem* item, bool wholeCollection) {
  if (m_updateCount > 0) return;
  m_sideBar->ItemsChanged(item, wholeCollection);
}

// ---- TSideBarModel ----

TSideBarModel::TSideBarModel() {
  for (TFontSpec* font : {&ItemStyle.NormalFont, &ItemStyle.HoverFont, &ItemStyle.SelectedFont, &ItemStyle.DisabledFont}) {
    font->Bold = true;
  }
}

void TSideBarModel::ItemsChanged(TSideBarItem* item, bool wholeCollection) {
  if (m_items.Count() == 0) {
    m_selectedItemRow = -1;
    m_selectedSubItemRow = -1;
    m_lastHoverRow = -1;
  }
  if (wholeCollection || item == nullptr) {
    UpdateLayout(true);
    RedrawAll();
  } else {
    RedrawSection(item->Index());
  }
}

void TSideBarModel::SectionHidden(int index) {
  if (index != m_itemIndex) return;
  m_selectedItemRow = m_selectedSubItemRow = m_lastHoverRow = m_hoverRow = -1;
  m_itemIndex = m_subItemIndex = -1;
}

void TSideBarModel::Redraw(int rowOrCode) {
  if (m_updating || m_view == nullptr) return;
  if (rowOrCode == UpScrollerCode) {
    if (m_canScrollUp) m_view->RedrawRow(rowOrCode);
  } else if (rowOrCode == DownScrollerCode) {
    if (m_canScrollDown) m_view->RedrawRow(rowOrCode);
  } else if (IsRow(rowOrCode)) {
    m_view->RedrawRow(rowOrCode);
  }
}

void TSideBarModel::RedrawAll() {
  if (!m_updating && m_view != nullptr) m_view->RedrawAll();
}

void TSideBarModel::EndUpdate() {
  m_updating = false;
  m_itemIndex = m_subItemIndex = -1;
  m_selectedItemRow = m_selectedSubItemRow = m_lastHoverRow = m_hoverRow = -1;
  m_topIndex = 0;
  UpdateLayout(true);
  RedrawAll();
}

int TSideBarModel::FirstRowOfSection(int index) const {
  auto found = std::lower_bound(m_rows.begin(), m_rows.end(), index,
                                [](const TSideBarRow& row, int i) { return row.Index < i; });
  return found != m_rows.end() && found->Index == index ? static_cast<int>(found - m_rows.begin()) : -1;
}

int TSideBarModel::RowOfItem(int index, int subIndex) const {
  int row = FirstRowOfSection(index);
  if (row < 0) return -1;
  for (int r = row; r < static_cast<int>(m_rows.size()) && m_rows[static_cast<std::size_t>(r)].Index == index; ++r) {
    if (m_rows[static_cast<std::size_t>(r)].SubIndex == subIndex) return r;
  }
  return -1;
}

void TSideBarModel::KeepRowsInRange() {
  // Rebuilt rows may be fewer or shifted: every row number the model keeps
  // is brought back to a row that exists.
  int count = static_cast<int>(m_rows.size());
  m_topIndex = count == 0 ? 0 : std::clamp(m_topIndex, 0, count - 1);
  m_selectedItemRow = m_itemIndex >= 0 ? FirstRowOfSection(m_itemIndex) : -1;
  m_selectedSubItemRow = m_itemIndex >= 0 && m_subItemIndex >= 0 ? RowOfItem(m_itemIndex, m_subItemIndex) : -1;
  auto keep = [count](int& row) {
    if (row != UpScrollerCode && row != DownScrollerCode && row >= count) row = -1;
  };
  keep(m_hoverRow);
  keep(m_lastHoverRow);
}

void TSideBarModel::UpdateLayout(bool rebuildRows) {
  if (m_updating) return;
  if (rebuildRows) {
    m_rows.clear();
    int y = 0;
    for (int i = 0; i < m_items.Count(); ++i) {
      const TSideBarItem& section = m_items[i];
      if (!section.Visible()) continue;
      m_rows.push_back({i, -1, false, {m_margin, y, m_width - m_margin, y + m_itemHeight + m_groupSeparator},
                        !section.Enabled(), section.Caption()});
      y += m_itemHeight + m_groupSeparator + 1;
      if (!section.Expanded()) continue;
      for (int k = 0; k < section.Items().Count(); ++k) {
        if (section.SubItemHidden(k)) continue;
        m_rows.push_back({i, k, true, {m_margin, y, m_width - m_margin, y + m_subItemHeight},
                          section.SubItemDisabled(k), section.Items().Strings(k)});
        y += m_subItemHeight + 1;
      }
    }
    KeepRowsInRange();
  }
  m_scrollOffset = 0;
  m_lastIndex = -1;
  m_canScrollUp = m_canScrollDown = false;
  if (m_rows.empty()) return;
  m_canScrollUp = m_topIndex > 0;
  m_scrollOffset = m_rows[static_cast<std::size_t>(m_topIndex)].Rect.Top;
  int limit = m_scrollOffset + m_height;
  auto past = std::upper_bound(m_rows.begin() + m_topIndex, m_rows.end(), limit,
                               [](int value, const TSideBarRow& row) { return value < row.Rect.Bottom; });
  if (past != m_rows.end()) {
    m_lastIndex = static_cast<int>(past - m_rows.begin());
    m_canScrollDown = true;
  } else {
    m_lastIndex = static_cast<int>(m_rows.size()) - 1;
  }
  int cw = m_width, ch = m_height, m = m_margin;
  if (m_alignment == TSideBarAlign::saRight) {
    m_upRect = {m + 10, 10, m + 21, 21};
    m_downRect = {m + 10, ch - 21, m + 21, ch - 10};
  } else {
    m_upRect = {cw - m - 21, 10, cw - m - 10, 21};
    m_downRect = {cw - m - 21, ch - 21, cw - m - 10, ch - 10};
  }
}

int TSideBarModel::RowAt(int x, int y) const {
  int contentY = y + m_scrollOffset;
  auto after = std::upper_bound(m_rows.begin(), m_rows.end(), contentY,
                                [](int value, const TSideBarRow& row) { return value < row.Rect.Top; });
  if (after == m_rows.begin()) return -1;
  const TSideBarRow& row = *(after - 1);
  return row.Rect.Contains(x, contentY) ? static_cast<int>(after - 1 - m_rows.begin()) : -1;
}

void TSideBarModel::RedrawSection(int index) {
  int row = FirstRowOfSection(index);
  if (row >= 0 && m_rows[static_cast<std::size_t>(row)].SubIndex == -1) Redraw(row);
}

void TSideBarModel::SetItemIndex(int value) {
  if (value == m_itemIndex) return;
  m_itemIndex = value;
  m_subItemIndex = -1;
  bool redrawHeader = false;
  if (value == -1 || m_items[value].Expanded()) {
    Redraw(m_selectedItemRow);
    Redraw(m_selectedSubItemRow);
    redrawHeader = true;
  } else {
    m_items[value].SetExpanded(true);
  }
  if (m_updating) {
    m_updating = false;
    UpdateLayout(false);
    m_updating = true;
  }
  m_selectedSubItemRow = -1;
  m_selectedItemRow = value == -1 ? -1 : FirstRowOfSection(value);
  if (redrawHeader) Redraw(m_selectedItemRow);
}

void TSideBarModel::SetSubItemIndex(int value) {
  if (m_itemIndex == -1 || value == m_subItemIndex) return;
  m_subItemIndex = value;
  if (m_updating) {
    m_updating = false;
    UpdateLayout(false);
    m_updating = true;
  }
  int row = RowOfItem(m_itemIndex, value);
  Redraw(m_selectedSubItemRow);
  m_selectedSubItemRow = row;
  if (row != -1) Redraw(row);
}

template <typename T>
void TSideBarModel::SetLayoutValue(T& field, T value, bool rebuildRows) {
  if (value == field) return;
  field = value;
  UpdateLayout(rebuildRows);
  RedrawAll();
}

void TSideBarModel::SetAlignment(TSideBarAlign value) { SetLayoutValue(m_alignment, value, false); }
void TSideBarModel::SetAlwaysExpand(bool value) {
  if (value == m_alwaysExpand) return;
  m_alwaysExpand = value;
  if (value) {
    UpdateLayout(true);
    RedrawAll();
  }
}

void TSideBarModel::SetClientSize(int width, int height) {
  if (width == m_width && height == m_height) return;
  m_width = width;
  m_height = height;
  m_topIndex = 0;
  UpdateLayout(true);
  RedrawAll();
}

void TSideBarModel::ScrollTo(int topIndex) {
  int count = static_cast<int>(m_rows.size());
  m_topIndex = count == 0 ? 0 : std::clamp(topIndex, 0, count - 1);
  UpdateLayout(false);
  RedrawAll();
}

void TSideBarModel::ScrollUp() {
  if (m_canScrollUp) ScrollTo(m_topIndex - 1);
}

void TSideBarModel::ScrollDown() {
  if (m_canScrollDown) ScrollTo(m_topIndex + 1);
}

void TSideBarModel::PageDown() {
  if (!m_canScrollDown) return;
  const TRect& last = m_rows[static_cast<std::size_t>(m_lastIndex)].Rect;
  int target = last.Bottom - m_scrollOffset > m_height ? m_lastIndex : m_lastIndex + 1;
  // A row taller than the control would otherwise keep the page in place.
  ScrollTo(std::max(target, m_topIndex + 1));
}

void TSideBarModel::PageUp() {
  if (!m_canScrollUp) return;
  int top = m_rows[static_cast<std::size_t>(m_topIndex)].Rect.Top;
  // Rows k .. TopIndex-1 with their gaps span top(TopIndex) - top(k) pixels.
  int target = m_topIndex - 1;
  if (top - m_rows[static_cast<std::size_t>(target)].Rect.Top < m_height) {
    auto first = std::upper_bound(m_rows.begin(), m_rows.begin() + m_topIndex, top - m_height,
                                  [](int value, const TSideBarRow& row) { return value < row.Rect.Top; });
    target = static_cast<int>(first - m_rows.begin());
  }
  ScrollTo(target);
}

TSideBarStates TSideBarModel::RowStates(int row) const {
  TSideBarStates states = row == m_hoverRow ? ssHover : ssNormal;
  if (!IsRow(row)) return states;
  const TSideBarRow& r = m_rows[static_cast<std::size_t>(row)];
  if (r.Index == m_itemIndex && (!r.IsSubItem || r.SubIndex == m_subItemIndex)) states |= ssSelected;
  if (r.Disabled) states |= ssDisabled;
  return states;
}

int TSideBarModel::NonItemTop() const {
  if (m_rows.empty()) return 0;
  return m_rows.back().Rect.Bottom - m_scrollOffset + 1;
}

void TSideBarModel::MouseDown(int x, int y) {
  if (m_canScrollUp && m_upRect.Contains(x, y)) {
    ScrollUp();
    return;
  }
  if (m_canScrollDown && m_downRect.Contains(x, y)) {
    ScrollDown();
    return;
  }
  int r = RowAt(x, y);
  if (r == -1) return;
  const TSideBarRow row = m_rows[static_cast<std::size_t>(r)];
  if ((!row.IsSubItem && m_alwaysExpand) || row.Disabled) return;
  bool raise = true;
  if (row.Index == m_itemIndex) {
    if (!row.IsSubItem) {
      m_subItemIndex = -1;
      TSideBarItem& section = m_items[row.Index];
      section.SetExpanded(!section.Expanded());
      m_selectedSubItemRow = -1;
    } else if (row.SubIndex != m_subItemIndex) {
      m_subItemIndex = row.SubIndex;
      Redraw(m_selectedSubItemRow);
      Redraw(r);
      m_selectedSubItemRow = r;
    } else {
      raise = false;
    }
  } else {
    m_itemIndex = row.Index;
    m_subItemIndex = row.SubIndex;
    int header = FirstRowOfSection(row.Index);
    if (row.IsSubItem) {
      Redraw(m_selectedItemRow);
      Redraw(m_selectedSubItemRow);
      Redraw(r);
      Redraw(header);
      m_selectedSubItemRow = r;
      m_selectedItemRow = header;
    } else if (m_items[row.Index].Expanded()) {
      Redraw(m_selectedItemRow);
      Redraw(m_selectedSubItemRow);
      Redraw(r);
      m_selectedItemRow = r;
      m_selectedSubItemRow = -1;
    } else {
      m_selectedItemRow = r;
      m_selectedSubItemRow = -1;
      m_items[row.Index].SetExpandedSilently(true);
      UpdateLayout(true);
      RedrawAll();
    }
  }
  if (raise && OnSelect) OnSelect(*this, m_itemIndex, m_subItemIndex, row.Caption);
}

void TSideBarModel::MouseMove(int x, int y) {
  for (int code : {UpScrollerCode, DownScrollerCode}) {
    bool shown = code == UpScrollerCode ? m_canScrollUp : m_canScrollDown;
    const TRect& rect = code == UpScrollerCode ? m_upRect : m_downRect;
    if (!shown || !rect.Contains(x, y)) continue;
    m_pointerOverRow = false;
    if (m_hoverRow != code) {
      m_hoverRow = code;
      Redraw(m_lastHoverRow);
      Redraw(code);
      m_lastHoverRow = code;
    }
    return;
  }
  int r = RowAt(x, y);
  if (r >= 0 && !m_rows[static_cast<std::size_t>(r)].IsSubItem && m_alwaysExpand) r = -1;
  m_pointerOverRow = r != -1;
  if (r == m_hoverRow) return;
  m_hoverRow = r;
  if (IsRow(m_lastHoverRow)) Redraw(m_lastHoverRow);
  if (r >= 0) {
    Redraw(r);
    if (OnHover) {
      const TSideBarRow& row = m_rows[static_cast<std::size_t>(r)];
      OnHover(*this, row.Index, row.SubIndex, row.Caption);
    }
  }
  m_lastHoverRow = m_hoverRow;
}

void TSideBarModel::MouseLeave() {
  m_pointerOverRow = false;
  if (m_hoverRow != -1) {
    m_hoverRow = -1;
    if (IsRow(m_lastHoverRow)) Redraw(m_lastHoverRow);
    m_lastHoverRow = -1;
  }
  if (OnHover) OnHover(*this, -1, -1, std::string());
}

bool TSideBarModel::Wheel(int delta) {
  if (delta > 0 && m_canScrollUp) {
    ScrollUp();
    return true;
  }
  if (delta < 0 && m_canScrollDown) {
    ScrollDown();
    return true;
  }
  return false;
}

namespace {

char LowerAsciiChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

void TSideBarModel::MoveHover(int newRow) {
  m_hoverRow = newRow;
  if (IsRow(m_lastHoverRow)) Redraw(m_lastHoverRow);
  Redraw(m_hoverRow);
  m_lastHoverRow = m_hoverRow;
}

bool TSideBarModel::KeyDown(TSideBarKey key) {
  int count = static_cast<int>(m_rows.size());
  auto outsideView = [&] { return m_hoverRow < m_topIndex || m_hoverRow > m_lastIndex; };
  switch (key) {
    case TSideBarKey::PageDown:
      PageDown();
      return true;
    case TSideBarKey::PageUp:
      PageUp();
      return true;
    case TSideBarKey::Down:
      if (m_hoverRow == count - 1) return false;
      if (outsideView()) {
        m_hoverRow = m_lastHoverRow = m_topIndex;
        Redraw(m_topIndex);
      } else {
        MoveHover(std::min(m_hoverRow + 1, count - 1));
      }
      if (m_hoverRow >= m_lastIndex - 1 && m_canScrollDown) ScrollDown();
      return true;
    case TSideBarKey::Up:
      if (m_hoverRow == 0 || count == 0) return false;
      if (m_hoverRow == m_topIndex && m_canScrollUp) ScrollUp();
      if (outsideView()) {
        m_hoverRow = m_lastHoverRow = m_lastIndex;
        Redraw(m_lastIndex);
      } else {
        MoveHover(std::max(m_hoverRow - 1, 0));
      }
      return true;
    case TSideBarKey::Enter: {
      if (outsideView() || !IsRow(m_hoverRow)) return false;
      const TRect& rect = m_rows[static_cast<std::size_t>(m_hoverRow)].Rect;
      MouseDown(rect.Left + 1, rect.Top - m_scrollOffset + 1);
      return true;
    }
    case TSideBarKey::Home:
    case TSideBarKey::End:
      if (count == 0) return true;
      MoveHover(key == TSideBarKey::Home ? 0 : count - 1);
      ShowRow(m_hoverRow);
      return true;
    case TSideBarKey::Left:
    case TSideBarKey::Right:
    case TSideBarKey::Space:
    case TSideBarKey::Insert:
    case TSideBarKey::Delete:
    case TSideBarKey::Backspace:
    case TSideBarKey::Other:
      break;
  }
  return true;
}

void TSideBarModel::ShowRow(int row) {
  if (!IsRow(row)) return;
  if (row < m_topIndex) {
    ScrollTo(row);
    return;
  }
  // Down a row at a time until the row is wholly inside.
  for (int guard = static_cast<int>(m_rows.size()); guard > 0 && row >= m_lastIndex && m_canScrollDown; --guard) {
    ScrollDown();
  }
}

bool TSideBarModel::TypeAhead(char c, long long milliseconds) {
  if (milliseconds - m_lastTyped > kTypeAheadMilliseconds) m_typed.clear();
  m_lastTyped = milliseconds;
  m_typed += c;
  const int count = static_cast<int>(m_rows.size());
  if (count == 0) return false;
  auto startsWith = [&](const std::string& caption) {
    if (caption.size() < m_typed.size()) return false;
    for (std::size_t i = 0; i < m_typed.size(); ++i) {
      if (LowerAsciiChar(caption[i]) != LowerAsciiChar(m_typed[i])) return false;
    }
    return true;
  };
  // A longer prefix may still fit the row the cursor is on; a new one
  // looks from the next row.
  const int from = IsRow(m_hoverRow) ? (m_typed.size() > 1 ? m_hoverRow : m_hoverRow + 1) : 0;
  for (int step = 0; step < count; ++step) {
    int row = (from + step) % count;
    if (!startsWith(m_rows[static_cast<std::size_t>(row)].Caption)) continue;
    if (row != m_hoverRow) MoveHover(row);
    ShowRow(row);
    return true;
  }
  return false;
}
