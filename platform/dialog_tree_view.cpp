// A dialog's tree view: items with children under handles the program keeps, expanded, selected
// and sorted level by level, and the messages and notifications of a tree view.
//
// A handle is a number the widget hands out and looks up, never a pointer: a handle kept past
// its item's deletion, or one made up, finds nothing.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <unordered_map>
#include <vector>

#include "platform/dialog_qt.h"
#include "platform/sjis.h"

namespace platform {
namespace {

constexpr int kParamRole = Qt::UserRole;
constexpr int kHandleRole = Qt::UserRole + 1;

class TreeViewWidget final : public QTreeWidget {
 public:
  explicit TreeViewWidget(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
  }

  Control* control = nullptr;
  // How the selection that is changing was made (TVC_*).
  UINT action = TVC_UNKNOWN;

  QTreeWidgetItem* find(HTREEITEM handle) const {
    const auto it = m_items.find(reinterpret_cast<uintptr_t>(handle));
    return it == m_items.end() ? nullptr : it->second;
  }
  static HTREEITEM handleOf(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(item->data(0, kHandleRole).toULongLong())) : nullptr;
  }
  // The item a parent argument names: the invisible root for TVI_ROOT or null.
  QTreeWidgetItem* parentItem(HTREEITEM handle) const {
    if (!handle || handle == TVI_ROOT) return invisibleRootItem();
    return find(handle);
  }

  QTreeWidgetItem* make(const QString& text, LPARAM param) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, kParamRole, QVariant::fromValue<qlonglong>(param));
    const uintptr_t handle = ++m_lastHandle;
    item->setData(0, kHandleRole, QVariant::fromValue<qulonglong>(handle));
    m_items.emplace(handle, item);
    return item;
  }
  // Forgets the handles of an item and everything below it (before the item goes).
  void forget(QTreeWidgetItem* item) {
    m_items.erase(reinterpret_cast<uintptr_t>(handleOf(item)));
    for (int i = 0; i < item->childCount(); ++i) forget(item->child(i));
  }
  void forgetAll() { m_items.clear(); }
  size_t count() const { return m_items.size(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (control && NotifyKeyDown(*control, *event, TVN_KEYDOWN)) return;
    action = TVC_BYKEYBOARD;
    QTreeWidget::keyPressEvent(event);
    action = TVC_UNKNOWN;
  }
  void mousePressEvent(QMouseEvent* event) override {
    action = TVC_BYMOUSE;
    QTreeWidget::mousePressEvent(event);
    action = TVC_UNKNOWN;
  }
  void focusOutEvent(QFocusEvent* event) override {
    QTreeWidget::focusOutEvent(event);
    // A dialog being destroyed tells its procedure nothing more.
    if (control && !control->dialog().destroying()) {
      NMHDR hdr;
      SendControlNotify(*control, hdr, NM_KILLFOCUS);
    }
  }

 private:
  // Handles start well above the TVI_ constants' magnitudes and never repeat.
  uintptr_t m_lastHandle = 0x10000;
  std::unordered_map<uintptr_t, QTreeWidgetItem*> m_items;
};

TreeViewWidget* Widget(const Control& control) { return dynamic_cast<TreeViewWidget*>(control.widget()); }

LPARAM ParamOf(const QTreeWidgetItem* item) { return static_cast<LPARAM>(item->data(0, kParamRole).toLongLong()); }

UINT StateOf(const TreeViewWidget& tree, const QTreeWidgetItem* item) {
  UINT state = 0;
  if (item->isSelected() || tree.currentItem() == item) state |= TVIS_SELECTED;
  if (item->isExpanded()) state |= TVIS_EXPANDED;
  return state;
}

void Select(TreeViewWidget& tree, QTreeWidgetItem* item) {
  if (!item) {
    tree.clearSelection();
    tree.setCurrentItem(nullptr);
    return;
  }
  tree.setCurrentItem(item);
  item->setSelected(true);
}

// Texts in order: Shift-JIS bytes, ASCII letters folded, never a trail byte.
bool TextBefore(const QString& a, const QString& b) {
  const std::string x = QStringToSjis(a);
  const std::string y = QStringToSjis(b);
  const size_t n = std::min(x.size(), y.size());
  bool trail = false;
  for (size_t i = 0; i < n; ++i) {
    auto cx = static_cast<unsigned char>(x[i]);
    auto cy = static_cast<unsigned char>(y[i]);
    if (!trail) {
      if (cx >= 'a' && cx <= 'z') cx = static_cast<unsigned char>(cx - 32);
      if (cy >= 'a' && cy <= 'z') cy = static_cast<unsigned char>(cy - 32);
    }
    if (cx != cy) return cx < cy;
    trail = !trail && IsSjisLead(cx);
  }
  return x.size() < y.size();
}

LRESULT Insert(TreeViewWidget& tree, const TVINSERTSTRUCT* in) {
  if (!in) return 0;
  QTreeWidgetItem* parent = tree.parentItem(in->hParent);
  if (!parent) return 0;
  const QString text = (in->item.mask & TVIF_TEXT) && in->item.pszText ? SjisToQString(in->item.pszText) : QString();
  int at = parent->childCount();
  if (in->hInsertAfter == TVI_FIRST) {
    at = 0;
  } else if (in->hInsertAfter == TVI_SORT) {
    at = 0;
    while (at < parent->childCount() && !TextBefore(text, parent->child(at)->text(0))) ++at;
  } else if (in->hInsertAfter && in->hInsertAfter != TVI_LAST) {
    QTreeWidgetItem* after = tree.find(in->hInsertAfter);
    if (after && after->parent() == (parent == tree.invisibleRootItem() ? nullptr : parent)) at = parent->indexOfChild(after) + 1;
  }
  QTreeWidgetItem* item = tree.make(text, (in->item.mask & TVIF_PARAM) ? in->item.lParam : 0);
  parent->insertChild(at, item);
  if ((in->item.mask & TVIF_STATE) && (in->item.stateMask & TVIS_EXPANDED)) item->setExpanded((in->item.state & TVIS_EXPANDED) != 0);
  return reinterpret_cast<LRESULT>(TreeViewWidget::handleOf(item));
}

LRESULT Delete(TreeViewWidget& tree, HTREEITEM handle) {
  if (!handle || handle == TVI_ROOT) {
    tree.forgetAll();
    tree.clear();
    return 1;
  }
  QTreeWidgetItem* item = tree.find(handle);
  if (!item) return 0;
  tree.forget(item);
  delete item;  // takes its children, and itself out of its parent
  return 1;
}

LRESULT Expand(TreeViewWidget& tree, WPARAM how, HTREEITEM handle) {
  QTreeWidgetItem* item = tree.find(handle);
  if (!item) return 0;
  switch (how) {
    case TVE_COLLAPSE: item->setExpanded(false); return 1;
    case TVE_EXPAND: item->setExpanded(true); return 1;
    case TVE_TOGGLE: item->setExpanded(!item->isExpanded()); return 1;
    default: return 0;
  }
}

QTreeWidgetItem* Next(const TreeViewWidget& tree, WPARAM relation, HTREEITEM handle) {
  if (relation == TVGN_ROOT) return tree.topLevelItem(0);
  if (relation == TVGN_CARET) return tree.currentItem();
  if (relation == TVGN_CHILD && (!handle || handle == TVI_ROOT)) return tree.topLevelItem(0);
  QTreeWidgetItem* item = tree.find(handle);
  if (!item) return nullptr;
  QTreeWidgetItem* parent = item->parent() ? item->parent() : tree.invisibleRootItem();
  const int index = parent->indexOfChild(item);
  switch (relation) {
    case TVGN_NEXT: return parent->child(index + 1);
    case TVGN_PREVIOUS: return index > 0 ? parent->child(index - 1) : nullptr;
    case TVGN_PARENT: return item->parent();
    case TVGN_CHILD: return item->child(0);
    default: return nullptr;
  }
}

LRESULT GetItem(const TreeViewWidget& tree, TVITEM* out) {
  const QTreeWidgetItem* item = out ? tree.find(out->hItem) : nullptr;
  if (!item) return 0;
  if (out->mask & TVIF_TEXT) CopyShiftJisOut(item->text(0), out->pszText, out->cchTextMax);
  if (out->mask & TVIF_PARAM) out->lParam = ParamOf(item);
  if (out->mask & TVIF_STATE) out->state = StateOf(tree, item) & (out->stateMask ? out->stateMask : ~UINT{0});
  if (out->mask & TVIF_CHILDREN) out->cChildren = item->childCount() > 0 ? 1 : 0;
  return 1;
}

LRESULT SetItem(TreeViewWidget& tree, const TVITEM* in) {
  QTreeWidgetItem* item = in ? tree.find(in->hItem) : nullptr;
  if (!item) return 0;
  if (in->mask & TVIF_TEXT) item->setText(0, SjisToQString(in->pszText ? std::string_view(in->pszText) : std::string_view()));
  if (in->mask & TVIF_PARAM) item->setData(0, kParamRole, QVariant::fromValue<qlonglong>(in->lParam));
  if (in->mask & TVIF_STATE) {
    if (in->stateMask & TVIS_EXPANDED) item->setExpanded((in->state & TVIS_EXPANDED) != 0);
    if ((in->stateMask & TVIS_SELECTED) && (in->state & TVIS_SELECTED)) Select(tree, item);
  }
  return 1;
}

// Orders the children of parent (and with deep, of every level below) by before; equal items keep
// their order, and expansion, the current item and the selection stay where they were.
template <typename Before>
void SortLevel(TreeViewWidget& tree, QTreeWidgetItem* parent, bool deep, const Before& before) {
  std::vector<std::pair<QTreeWidgetItem*, bool>> expanded;
  std::function<void(QTreeWidgetItem*)> note = [&](QTreeWidgetItem* item) {
    for (int i = 0; i < item->childCount(); ++i) {
      expanded.emplace_back(item->child(i), item->child(i)->isExpanded());
      note(item->child(i));
    }
  };
  note(parent);
  QTreeWidgetItem* current = tree.currentItem();
  std::function<void(QTreeWidgetItem*)> sort = [&](QTreeWidgetItem* level) {
    QList<QTreeWidgetItem*> children = level->takeChildren();
    std::stable_sort(children.begin(), children.end(), before);
    level->addChildren(children);
    if (deep) {
      for (QTreeWidgetItem* child : children) sort(child);
    }
  };
  sort(parent);
  for (const auto& [item, open] : expanded) item->setExpanded(open);
  if (current) Select(tree, current);
}

LRESULT SortChildren(TreeViewWidget& tree, bool deep, HTREEITEM handle) {
  QTreeWidgetItem* parent = tree.parentItem(handle);
  if (!parent) return 0;
  SortLevel(tree, parent, deep, [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return TextBefore(a->text(0), b->text(0)); });
  return 1;
}

LRESULT SortChildrenBy(TreeViewWidget& tree, bool deep, const TVSORTCB* by) {
  QTreeWidgetItem* parent = by && by->lpfnCompare ? tree.parentItem(by->hParent) : nullptr;
  if (!parent) return 0;
  SortLevel(tree, parent, deep, [by](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    return by->lpfnCompare(ParamOf(a), ParamOf(b), by->lParam) < 0;
  });
  return 1;
}

void Describe(const TreeViewWidget& tree, const QTreeWidgetItem* item, TVITEM& out) {
  if (!item) return;
  out.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
  out.hItem = TreeViewWidget::handleOf(item);
  out.lParam = ParamOf(item);
  out.state = StateOf(tree, item);
}

void NotifySelection(Control& control, QTreeWidgetItem* now, QTreeWidgetItem* before) {
  TreeViewWidget* tree = Widget(control);
  // The program's changes (among them deleting the selected item, when `before` is going) tell
  // nothing: the items are not looked at.
  if (!tree || !now || control.dialog().quiet() > 0) return;
  NMTREEVIEW nm;
  nm.action = tree->action;
  Describe(*tree, before, nm.itemOld);
  Describe(*tree, now, nm.itemNew);
  SendControlNotify(control, nm.hdr, TVN_SELCHANGED);
}

void Preorder(const QTreeWidgetItem* item, int depth, std::vector<const QTreeWidgetItem*>& out, std::vector<int>* depths) {
  for (int i = 0; i < item->childCount(); ++i) {
    out.push_back(item->child(i));
    if (depths) depths->push_back(depth);
    Preorder(item->child(i), depth + 1, out, depths);
  }
}

QTreeWidgetItem* ItemAt(const TreeViewWidget& tree, int index) {
  std::vector<const QTreeWidgetItem*> items;
  Preorder(tree.invisibleRootItem(), 0, items, nullptr);
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return nullptr;
  return const_cast<QTreeWidgetItem*>(items[static_cast<size_t>(index)]);
}

// A user reaches an item by opening the levels above it.
void Reveal(QTreeWidgetItem* item) {
  for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) p->setExpanded(true);
}

}  // namespace

QWidget* MakeTreeView(QWidget* parent) { return new TreeViewWidget(parent); }

void ConnectTreeView(Control& control) {
  TreeViewWidget* tree = Widget(control);
  if (!tree) return;
  tree->control = &control;
  Control* c = &control;
  QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                   [c](QTreeWidgetItem* now, QTreeWidgetItem* before) { NotifySelection(*c, now, before); });
  QObject::connect(tree, &QTreeWidget::itemDoubleClicked, tree, [c] {
    NMHDR hdr;
    SendControlNotify(*c, hdr, NM_DBLCLK);
  });
}

LRESULT TreeViewMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam) {
  TreeViewWidget* tree = Widget(control);
  if (!tree) return 0;
  QuietControls quiet(control.dialog());
  const auto handle = reinterpret_cast<HTREEITEM>(lParam);
  switch (message) {
    case TVM_INSERTITEM:
      return Insert(*tree, reinterpret_cast<const TVINSERTSTRUCT*>(lParam));
    case TVM_DELETEITEM:
      return Delete(*tree, handle);
    case TVM_EXPAND:
      return Expand(*tree, wParam, handle);
    case TVM_GETCOUNT:
      return static_cast<LRESULT>(tree->count());
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(TreeViewWidget::handleOf(Next(*tree, wParam, handle)));
    case TVM_SELECTITEM: {
      QTreeWidgetItem* item = tree->find(handle);
      if (handle && !item) return 0;
      if (wParam == TVGN_CARET) {
        if (item) Reveal(item);
        Select(*tree, item);
        return 1;
      }
      if (wParam == TVGN_FIRSTVISIBLE && item) {
        tree->scrollToItem(item, QAbstractItemView::PositionAtTop);
        return 1;
      }
      return 0;
    }
    case TVM_GETITEM:
      return GetItem(*tree, reinterpret_cast<TVITEM*>(lParam));
    case TVM_SETITEM:
      return SetItem(*tree, reinterpret_cast<const TVITEM*>(lParam));
    case TVM_SORTCHILDREN:
      return SortChildren(*tree, wParam != 0, handle);
    case TVM_SORTCHILDRENCB:
      return SortChildrenBy(*tree, wParam != 0, reinterpret_cast<const TVSORTCB*>(lParam));
    case TVM_ENSUREVISIBLE: {
      QTreeWidgetItem* item = tree->find(handle);
      if (!item) return 0;
      Reveal(item);
      tree->scrollToItem(item);
      return 1;
    }
    default:
      return 0;
  }
}

std::vector<TreeViewRow> TreeViewState(const Control& control) {
  std::vector<TreeViewRow> out;
  const TreeViewWidget* tree = Widget(control);
  if (!tree) return out;
  std::vector<const QTreeWidgetItem*> items;
  std::vector<int> depths;
  Preorder(tree->invisibleRootItem(), 0, items, &depths);
  for (size_t i = 0; i < items.size(); ++i) {
    TreeViewRow row;
    row.item = TreeViewWidget::handleOf(items[i]);
    row.depth = depths[i];
    row.text = QStringToSjis(items[i]->text(0));
    row.expanded = items[i]->isExpanded();
    row.selected = items[i]->isSelected();
    out.push_back(std::move(row));
  }
  return out;
}

void TreeViewUserSelect(Control& control, int index) {
  TreeViewWidget* tree = Widget(control);
  QTreeWidgetItem* item = tree ? ItemAt(*tree, index) : nullptr;
  if (!item) return;
  Reveal(item);
  // The toolkit's own change of the current item tells the procedure.
  tree->action = TVC_BYMOUSE;
  tree->setCurrentItem(item);
  item->setSelected(true);
  tree->action = TVC_UNKNOWN;
  tree->scrollToItem(item);
}

void TreeViewUserDoubleClick(Control& control, int index) {
  TreeViewWidget* tree = Widget(control);
  QTreeWidgetItem* item = tree ? ItemAt(*tree, index) : nullptr;
  if (!item) return;
  TreeViewUserSelect(control, index);
  emit tree->itemDoubleClicked(item, 0);
}

}  // namespace platform
