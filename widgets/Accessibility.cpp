#include "widgets/Accessibility.h"

#include "widgets/QtBridge.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TOwnerDrawnButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <map>

namespace {

// The rows of a side bar and the pictures of a strip are drawn, not
// widgets: each is an accessible element of its own, made when a screen
// reader first asks for it and reading the widget's state live.
class TVirtualChild : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TVirtualChild(QWidget* owner, int index) : m_owner(owner), m_index(index) {}

  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return m_owner->window()->windowHandle(); }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_owner); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 protected:
  QWidget* m_owner;
  int m_index;
};

class TSideBarRowAccessible : public TVirtualChild {
 public:
  using TVirtualChild::TVirtualChild;

  bool isValid() const override { return m_index >= 0 && m_index < static_cast<int>(Bar().Model().Rows().size()); }
  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return {};
    return ToQString(Row().Caption);
  }
  QRect rect() const override {
    if (!isValid()) return {};
    return QRect(m_owner->mapToGlobal(Bar().RowPaintRect(m_index).topLeft()), Bar().RowPaintRect(m_index).size());
  }
  QAccessible::Role role() const override { return QAccessible::TreeItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    const TSideBarModel& model = Bar().Model();
    state.selectable = true;
    state.focusable = true;
    state.focused = Bar().hasFocus() && model.HoverRow() == m_index;
    state.selected = model.SelectedItemRow() == m_index || model.SelectedSubItemRow() == m_index;
    state.offscreen = m_index < model.TopIndex() || m_index > model.LastIndex();
    if (!Row().IsSubItem) {
      state.expandable = true;
      bool open = model.Items()[Row().Index].Expanded();
      state.expanded = open;
      state.collapsed = !open;
    }
    return state;
  }
  void doAction(const QString& action) override {
    if (!isValid() || action != pressAction()) return;
    const TSideBarModel& model = Bar().Model();
    const TRect& rect = Row().Rect;
    Bar().Model().MouseDown(rect.Left + 1, rect.Top - model.ScrollOffset() + 1);
  }

 private:
  TSideBar& Bar() const { return *static_cast<TSideBar*>(m_owner); }
  const TSideBarRow& Row() const { return Bar().Model().Rows()[static_cast<std::size_t>(m_index)]; }
};

class TCoverStripPictureAccessible : public TVirtualChild {
 public:
  using TVirtualChild::TVirtualChild;

  bool isValid() const override { return m_index >= 0 && m_index < Strip().Items().Count(); }
  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return {};
    return ToQString(Strip().Items()[m_index].Hint);
  }
  QRect rect() const override {
    if (!isValid()) return {};
    const TRect& tile = Strip().Items()[m_index].Rect;
    const int left = tile.Left - Strip().Model().ScrollPos();
    return QRect(m_owner->mapToGlobal(QPoint(left, tile.Top)), QSize(tile.Width(), tile.Height()));
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    const TCoverStripModel& model = Strip().Model();
    const TRect& tile = model.Items()[m_index].Rect;
    state.focusable = true;
    state.focused = Strip().hasFocus() && model.CursorIndex() == m_index;
    state.offscreen = tile.Right <= model.ScrollPos() || tile.Left >= model.ScrollPos() + model.ClientWidth();
    return state;
  }
  void doAction(const QString& action) override {
    if (isValid() && action == pressAction() && Strip().Model().OnClick) Strip().Model().OnClick(Strip().Model(), m_index);
  }

 private:
  TCoverStrip& Strip() const { return *static_cast<TCoverStrip*>(m_owner); }
};

// A widget of drawn elements: a list of virtual children, each registered
// with Qt's accessibility cache once and dropped with the widget's element.
template <typename Child>
class TElementListAccessible : public QAccessibleWidget {
 public:
  TElementListAccessible(QWidget* widget, QAccessible::Role role, QString name, int (*count)(QWidget*))
      : QAccessibleWidget(widget, role, name), m_name(std::move(name)), m_count(count) {}
  ~TElementListAccessible() override {
    for (const auto& [index, id] : m_children) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return m_count(widget()); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    auto found = m_children.find(index);
    if (found != m_children.end()) return QAccessible::accessibleInterface(found->second);
    auto* child = new Child(widget(), index);
    m_children[index] = QAccessible::registerAccessibleInterface(child);
    return child;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [index, id] : m_children) {
      if (QAccessible::accessibleInterface(id) == child) return index < childCount() ? index : -1;
    }
    return -1;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return widget()->accessibleName().isEmpty() ? m_name : widget()->accessibleName();
    return QAccessibleWidget::text(t);
  }

 private:
  QString m_name;
  int (*m_count)(QWidget*);
  mutable std::map<int, QAccessible::Id> m_children;
};

// Both kinds of button: a push button named by its caption (without the
// leading blank) or, for picture buttons, by the accessible name the
// window gives it; "press" clicks it.
class TButtonAccessible : public QAccessibleWidget {
 public:
  explicit TButtonAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
    if (auto* button = dynamic_cast<TCaptionButton*>(widget())) {
      return ToQString(button->Caption()).trimmed().remove(QLatin1Char('&'));
    }
    return {};
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action != pressAction()) return;
    // The click runs after the screen reader's call has returned: a button
    // that opens a dialog would otherwise hold the call until the dialog
    // is closed, and the screen reader gives up waiting.
    QPointer<QWidget> button = widget();
    QTimer::singleShot(0, button, [button] {
      if (auto* pressed = dynamic_cast<TOwnerDrawnButton*>(button.data())) pressed->Click();
    });
  }
};

QAccessibleInterface* CreateAccessible(const QString& className, QObject* object) {
  // Our widgets declare no meta-object of their own, so Qt names each of
  // them "QWidget". Objects of any other class are not ours and are not
  // looked into: among them are the web engine's, whose types cannot be
  // inspected from here.
  if (className != QLatin1String("QWidget")) return nullptr;
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (dynamic_cast<TSideBar*>(widget) != nullptr) {
    return new TElementListAccessible<TSideBarRowAccessible>(widget, QAccessible::Tree, QStringLiteral("Movies"),
                                                             [](QWidget* w) {
                                                               return static_cast<int>(
                                                                   static_cast<TSideBar*>(w)->Model().Rows().size());
                                                             });
  }
  if (dynamic_cast<TCoverStrip*>(widget) != nullptr) {
    return new TElementListAccessible<TCoverStripPictureAccessible>(
        widget, QAccessible::List, QStringLiteral("Covers"),
        [](QWidget* w) { return static_cast<TCoverStrip*>(w)->Items().Count(); });
  }
  if (dynamic_cast<TOwnerDrawnButton*>(widget) != nullptr) {
    return new TButtonAccessible(widget);
  }
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(CreateAccessible);
    return true;
  }();
  (void)installed;
}
