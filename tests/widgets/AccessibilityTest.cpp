#include "WidgetTestUtil.h"

#include "tests/support/TestPictures.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

TEST(Accessibility, SideBarRowsAreATreeNamedByTheirCaptions) {
  TSideBar bar;
  bar.resize(200, 300);
  bar.BeginUpdate();
  TSideBarItem& drama = bar.Items().Add();
  drama.SetCaption("Drama (2)");
  drama.Items().Add("Casablanca");
  drama.Items().Add("Caf\xE9 Society");
  TSideBarItem& comedy = bar.Items().Add();
  comedy.SetCaption("Comedy (1)");
  comedy.Items().Add("Brazil");
  comedy.SetExpanded(false);
  bar.EndUpdate();
  bar.SetItemIndex(0);
  bar.SetSubItemIndex(1);

  QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&bar);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->role(), QAccessible::Tree);
  EXPECT_EQ(tree->text(QAccessible::Name), QStringLiteral("Movies"));
  ASSERT_EQ(tree->childCount(), 4);  // Drama, its two movies, Comedy (collapsed)
  QAccessibleInterface* header = tree->child(0);
  EXPECT_EQ(header->role(), QAccessible::TreeItem);
  EXPECT_EQ(header->text(QAccessible::Name), QStringLiteral("Drama (2)"));
  EXPECT_TRUE(header->state().expanded);
  EXPECT_EQ(tree->child(2)->text(QAccessible::Name), QString::fromUtf8("Caf\xC3\xA9 Society"));
  EXPECT_TRUE(tree->child(2)->state().selected);
  EXPECT_TRUE(tree->child(3)->state().collapsed);
  EXPECT_EQ(tree->indexOfChild(tree->child(3)), 3);
  EXPECT_EQ(tree->child(3)->parent(), tree);
  // "Press" selects, as a click would.
  std::vector<int> selected;
  bar.OnSelect = [&](TSideBar&, int index, int subIndex, const std::string&) { selected = {index, subIndex}; };
  tree->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(selected, (std::vector<int>{0, 0}));
}

TEST(Accessibility, StripPicturesAreAListNamedByTheirMovies) {
  TCoverStrip strip;
  strip.resize(300, 100);
  strip.Items().Add(11, "Alien", SolidBitmap(60, 90, 1, 2, 3));
  strip.Items().Add(12, "Brazil", SolidBitmap(60, 90, 1, 2, 3));
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&strip);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::List);
  ASSERT_EQ(list->childCount(), 2);
  EXPECT_EQ(list->child(1)->text(QAccessible::Name), QStringLiteral("Brazil"));
  EXPECT_EQ(list->child(1)->role(), QAccessible::ListItem);
  std::vector<int> clicks;
  strip.OnClick = [&](TCoverStrip&, int index) { clicks.push_back(index); };
  list->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, std::vector<int>{1});
  EXPECT_EQ(strip.focusPolicy(), Qt::TabFocus);
}

TEST(Accessibility, ButtonsArePushButtonsNamedByTheirCaptions) {
  TCaptionButton open(nullptr, QStringLiteral("openButton"));
  open.SetCaption(" &Open");
  int clicks = 0;
  open.OnClick = [&](QWidget&) { ++clicks; };
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(&open);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->role(), QAccessible::Button);
  EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Open"));
  // A press returns at once (a button may open a dialog that waits for
  // the user); the click follows from the event loop.
  button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(clicks, 1);

  TImageButton arrow;
  arrow.setAccessibleName(QStringLiteral("Group by"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&arrow)->text(QAccessible::Name), QStringLiteral("Group by"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&arrow)->role(), QAccessible::Button);
}

TEST(Accessibility, TypingInTheSideBarMovesTheCursorAndDrawsItsMark) {
  TSideBar bar;
  bar.resize(200, 300);
  SetMainWindowLook(bar);
  bar.BeginUpdate();
  TSideBarItem& section = bar.Items().Add();
  section.SetCaption("All");
  for (const char* title : {"Alien", "Brazil", "Casablanca"}) section.Items().Add(title);
  bar.EndUpdate();
  bar.show();
  bar.setFocus();
  QTest::keyClicks(&bar, QStringLiteral("ca"));
  EXPECT_EQ(bar.Model().HoverRow(), 3);
  QTest::keyClick(&bar, Qt::Key_Home);
  EXPECT_EQ(bar.Model().HoverRow(), 0);
}
