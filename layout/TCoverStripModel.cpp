#include "layout/TCoverStripModel.h"

#include "config/TViewerError.h"

#include <algorithm>

std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t quotient = numerator / denominator;
  std::int64_t twice = 2 * (numerator % denominator);
  if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
  return quotient;
}

// ---- TCoverStripItems ----

TCoverStripItem& TCoverStripItems::Add(std::int64_t tag, std::string hint, TBitmap bitmap) {
  m_items.push_back({tag, std::move(hint), std::move(bitmap), {}});
  Changed();
  return m_items.back();
}

TCoverStripItem& TCoverStripItems::AddSized(std::int64_t tag, std::string hint, int width, int height) {
  TCoverStripItem& item = m_items.emplace_back();
  item.Tag = tag;
  item.Hint = std::move(hint);
  item.PictureWidth = width;
  item.PictureHeight = height;
  Changed();
  return m_items.back();
}

void TCoverStripItems::SetPicture(int index, std::shared_ptr<const TCompactPicture> picture) {
  TCoverStripItem& item = (*this)[index];
  const bool sameSize = picture == nullptr || (picture->Width == item.Width() && picture->Height == item.Height());
  item.Bitmap = TBitmap();
  item.Compact = std::move(picture);
  if (item.Compact != nullptr) {
    item.PictureWidth = item.Compact->Width;
    item.PictureHeight = item.Compact->Height;
  }
  if (!sameSize) {
    Changed();
  } else if (m_updateCount == 0 && m_owner->m_view != nullptr) {
    m_owner->m_view->PictureChanged(index);
  }
}

void TCoverStripItems::Delete(int index) {
  (*this)[index];  // checks the index
  m_items.erase(m_items.begin() + index);
  Changed();
}

TCoverStripItem& TCoverStripItems::operator[](int index) {
  if (index < 0 || index >= Count()) throw TViewerError("List index out of bounds (" + std::to_string(index) + ")");
  return m_items[static_cast<std::size_t>(index)];
}

const TCoverStripItem& TCoverStripItems::operator[](int index) const {
  if (index < 0 || index >= Count()) throw TViewerError("List index out of bounds (" + std::to_string(index) + ")");
  return m_items[static_cast<std::size_t>(index)];
}

void TCoverStripItems::Clear() {
  m_items.clear();
  Changed();
}

void TCoverStripItems::SetHint(int index, std::string hint) { (*this)[index].Hint = std::move(hint); }

void TCoverStripItems::EndUpdate() {
  if (m_updateCount > 0 && --m_updateCount == 0) Changed();
}

void TCoverStripItems::Changed() {
  if (m_updateCount == 0) m_owner->ItemsChanged();
}

// ---- TCoverStripModel ----

void TCoverStripModel::Redraw(int indexOrCode) {
  if (m_view) m_view->RedrawEntry(indexOrCode);
}

void TCoverStripModel::RedrawAll() {
  if (m_view) m_view->RedrawAll();
}

void TCoverStripModel::ItemsChanged() {
  LayoutItems();
  RedrawAll();
}

void TCoverStripModel::SetActive(bool active) {
  if (active == m_active) return;
  m_active = active;
  if (!active) m_scrollPos = 0;
  if (m_view) m_view->SetTimerRunning(active);
}

void TCoverStripModel::SetClientSize(int width, int height) {
  if (width == m_width && height == m_height) return;
  m_width = width;
  m_height = height;
  m_scrollPos = 0;
  LayoutItems();
  RedrawAll();
}

void TCoverStripModel::LayoutItems() {
  if (m_view) m_view->SetTimerRunning(false);
  const std::int64_t h = m_height;
  std::int64_t x = 0;
  int shown = 0;
  for (int i = 0; i < m_items.Count(); ++i) {
    TCoverStripItem& item = m_items.m_items[static_cast<std::size_t>(i)];
    item.Hidden = m_filter && !m_filter(item.Tag);
    if (item.Hidden) {
      item.Rect = {static_cast<int>(x), 0, static_cast<int>(x), 0};
      continue;
    }
    // The heights take turns among the tiles shown.
    const int turn = shown++ % 3;
    std::int64_t tile = turn == 0 ? RoundHalfEven(h * 60, 100) : turn == 1 ? RoundHalfEven(h * 85, 100) : h;
    std::int64_t width = 0;
    if (item.Width() > 0 && item.Height() > 0 && tile > 0) {
      width = RoundHalfEven(static_cast<std::int64_t>(item.Width()) * tile, item.Height());
    }
    item.Rect = {static_cast<int>(x), 0, static_cast<int>(x + width), static_cast<int>(tile)};
    x += width;
  }
  m_maxScroll = static_cast<int>(std::max<std::int64_t>(0, x - m_width));
  const int s = m_scrollerSize, w = m_width;
  m_leftRect = {10, m_height - s - 10, s + 10, m_height - 10};
  m_rightRect = {w - s - 10, m_height - s - 10, w - 10, m_height - 10};
  const int u = s / 6;
  const int u45 = static_cast<int>(RoundHalfEven(9 * static_cast<std::int64_t>(u), 2));
  const int u15 = static_cast<int>(RoundHalfEven(3 * static_cast<std::int64_t>(u), 2));
  int l = m_leftRect.Left, t = m_leftRect.Top;
  m_leftArrow = {{{l + u, t + 3 * u}, {l + 3 * u, t + u}, {l + 3 * u, t + 2 * u}, {l + u45, t + 2 * u},
                  {l + u45, t + 4 * u}, {l + 3 * u, t + 4 * u}, {l + 3 * u, t + 5 * u}}};
  l = m_rightRect.Left;
  t = m_rightRect.Top;
  m_rightArrow = {{{l + u15, t + 4 * u}, {l + u15, t + 2 * u}, {l + 3 * u, t + 2 * u}, {l + 3 * u, t + u},
                   {l + 5 * u, t + 3 * u}, {l + 3 * u, t + 5 * u}, {l + 3 * u, t + 4 * u}}};
  UpdateScrollButtons();
  if (m_active && m_view) m_view->SetTimerRunning(true);
}

void TCoverStripModel::SetFilter(std::function<bool(std::int64_t tag)> shown) {
  m_filter = std::move(shown);
  LayoutItems();
  m_scrollPos = std::clamp(m_scrollPos, 0, m_maxScroll);
  if (!IsPicture(m_cursor)) m_cursor = -1;
  UpdateScrollButtons();
  RedrawAll();
}

int TCoverStripModel::ShownFrom(int index, int step) const {
  for (; index >= 0 && index < m_items.Count(); index += step) {
    if (!m_items[index].Hidden) return index;
  }
  return -1;
}

void TCoverStripModel::UpdateScrollButtons() {
  m_canScrollLeft = m_scrollPos > 0;
  m_canScrollRight = m_scrollPos < m_maxScroll;
}

int TCoverStripModel::ItemAt(int x, int y) const {
  if (m_canScrollLeft && m_leftRect.Contains(x, y)) return LeftScrollerCode;
  if (m_canScrollRight && m_rightRect.Contains(x, y)) return RightScrollerCode;
  const std::vector<TCoverStripItem>& items = m_items.m_items;
  int stripX = x + m_scrollPos;
  auto after = std::upper_bound(items.begin(), items.end(), stripX,
                                [](int value, const TCoverStripItem& item) { return value < item.Rect.Left; });
  if (after == items.begin()) return -1;
  const TCoverStripItem& candidate = *(after - 1);
  return candidate.Rect.Contains(stripX, y) ? static_cast<int>(after - 1 - items.begin()) : -1;
}

int TCoverStripModel::FirstVisibleItem() const {
  const std::vector<TCoverStripItem>& items = m_items.m_items;
  auto first = std::upper_bound(items.begin(), items.end(), m_scrollPos,
                                [](int value, const TCoverStripItem& item) { return value < item.Rect.Right; });
  return static_cast<int>(first - items.begin());
}

void TCoverStripModel::MouseDown(int x, int y) {
  int k = ItemAt(x, y);
  if (k == RightScrollerCode || k == LeftScrollerCode) {
    m_scrollPos = k == RightScrollerCode ? std::min(m_maxScroll, m_scrollPos + LargeChange)
                                         : std::max(0, m_scrollPos - LargeChange);
    UpdateScrollButtons();
    RedrawAll();
    return;
  }
  if (OnClick) OnClick(*this, k);
}

void TCoverStripModel::MouseMove(int x, int y) {
  int k = ItemAt(x, y);
  m_autoReverse = false;
  bool button = k == LeftScrollerCode || k == RightScrollerCode;
  if (button) m_lastDirection = k;
  m_scrollingLeft = k == LeftScrollerCode;
  m_scrollingRight = k == RightScrollerCode;
  if (m_view && HandPointCursor) m_view->SetHandCursor(IsPicture(k));
  if (k == m_hoverIndex) return;
  m_hoverIndex = k;
  if (IsPicture(m_lastHoverIndex)) Redraw(m_lastHoverIndex);
  Redraw(k);
  m_lastHoverIndex = k;
  if (OnHover) OnHover(*this, IsPicture(k) ? k : -1);
  if (ShowHint && m_view) {
    if (IsPicture(k)) {
      m_view->ShowHintAt(m_items[k].Hint, x, y);
    } else {
      m_view->HideHint();
    }
  }
}

void TCoverStripModel::MouseLeave() {
  m_hoverIndex = -1;
  if (IsPicture(m_lastHoverIndex)) Redraw(m_lastHoverIndex);
  m_lastHoverIndex = -1;
  if (m_view && HandPointCursor) m_view->SetHandCursor(false);
  m_autoReverse = true;
  if (m_lastDirection == LeftScrollerCode) {
    m_scrollingLeft = true;
  } else if (m_lastDirection == RightScrollerCode) {
    m_scrollingRight = true;
  }
}

void TCoverStripModel::TimerTick() {
  if (m_items.Count() == 0 || !Scrollable() || m_focused) return;
  if (m_scrollingLeft) {
    m_lastDirection = LeftScrollerCode;
    m_scrollPos = std::max(0, m_scrollPos - SmallChange);
    UpdateScrollButtons();
    RedrawAll();
    if (m_scrollPos == 0) {
      m_scrollingLeft = false;
      if (m_autoReverse) {
        m_lastDirection = RightScrollerCode;
        m_scrollingRight = true;
      }
    }
  } else if (m_scrollingRight) {
    m_lastDirection = RightScrollerCode;
    m_scrollPos = std::min(m_maxScroll, m_scrollPos + SmallChange);
    UpdateScrollButtons();
    RedrawAll();
    if (m_scrollPos == m_maxScroll) {
      m_scrollingRight = false;
      if (m_autoReverse) {
        m_lastDirection = LeftScrollerCode;
        m_scrollingLeft = true;
      }
    }
  }
}

void TCoverStripModel::SetFocused(bool focused) {
  if (focused == m_focused) return;
  m_focused = focused;
  if (IsPicture(m_cursor)) Redraw(m_cursor);
}

bool TCoverStripModel::KeyDown(TCoverStripKey key) {
  const int count = m_items.Count();
  if (count == 0) return false;
  int cursor = m_cursor;
  // The first key finds the first picture in view.
  if (!IsPicture(cursor)) cursor = ShownFrom(std::clamp(FirstVisibleItem(), 0, count - 1), +1);
  if (cursor < 0) cursor = ShownFrom(count - 1, -1);
  if (cursor < 0) return false;
  // Tiles a filter left out are passed over.
  auto step = [&](int from, int by) {
    const int next = ShownFrom(from + by, by);
    return next < 0 ? from : next;
  };
  switch (key) {
    case TCoverStripKey::Left:
      if (IsPicture(m_cursor)) cursor = step(cursor, -1);
      break;
    case TCoverStripKey::Right:
      if (IsPicture(m_cursor)) cursor = step(cursor, +1);
      break;
    case TCoverStripKey::Home:
      cursor = ShownFrom(0, +1);
      break;
    case TCoverStripKey::End:
      cursor = ShownFrom(count - 1, -1);
      break;
    case TCoverStripKey::Enter:
    case TCoverStripKey::Space:
      if (!IsPicture(m_cursor)) return false;
      if (OnClick) OnClick(*this, m_cursor);
      return true;
    default:
      return false;
  }
  const int old = m_cursor;
  m_cursor = cursor;
  if (IsPicture(old)) Redraw(old);
  ShowItem(m_cursor);
  Redraw(m_cursor);
  return true;
}

void TCoverStripModel::ShowItem(int index) {
  if (!IsPicture(index)) return;
  const TRect& tile = m_items[index].Rect;
  // Clear of the round buttons at both ends.
  const int margin = m_scrollerSize;
  int target = m_scrollPos;
  if (tile.Left - target < margin) target = tile.Left - margin;
  if (tile.Right - target > m_width - margin) target = tile.Right - m_width + margin;
  target = std::clamp(target, 0, m_maxScroll);
  if (target == m_scrollPos) return;
  m_scrollPos = target;
  UpdateScrollButtons();
  RedrawAll();
}
