#pragma once

// The keys the program's own widgets react to, as their layout models see
// them; the toolkit's key codes are turned into these in one place.
enum class TNavigationKey {
  Left,
  Right,
  Up,
  Down,
  PageUp,
  PageDown,
  Home,
  End,
  Enter,
  Space,
  Insert,
  Delete,
  Backspace,
  Other,
};
