// A dialog's list view in report style: columns over rows of texts, one row selected at most,
// columns that may keep a share of the list's width, headers the user clicks, rows sorted by the
// program's function, and the messages and notifications of a list view.
#include <QHeaderView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTreeWidget>
#include <algorithm>
#include <cstring>

#include "platform/dialog_qt.h"
#include "platform/sjis.h"

namespace platform {
namespace {

class ListViewWidget final : public QTreeWidget {
 public:
  explicit ListViewWidget(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
  }

  Control* control = nullptr;

  std::vector<int> percents;  // per column; 0 for a width in pixels
  DWORD extendedStyle = 0;

  int rowCount() const { return topLevelItemCount(); }
  QTreeWidgetItem* row(int index) const {
    return index >= 0 && index < rowCount() ? topLevelItem(index) : nullptr;
  }
  int rowOf(QTreeWidgetItem* item) const { return item ? indexOfTopLevelItem(item) : -1; }
  int selectedRow() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : rowOf(selected.first());
  }
  int focusedRow() const { return rowOf(currentItem()); }

  // The width the longest text of the column's rows needs, every row counted (the header not).
  int contentWidth(int column) const {
    int width = 0;
    for (int r = 0; r < rowCount(); ++r) {
      width = std::max(width, sizeHintForIndex(indexFromItem(row(r), column)).width());
    }
    return width;
  }

  void applyPercents() {
    const int width = viewport()->width();
    for (size_t c = 0; c < percents.size(); ++c) {
      if (percents[c] > 0) setColumnWidth(static_cast<int>(c), width * percents[c] / 100);
    }
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QTreeWidget::resizeEvent(event);
    applyPercents();
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (control && NotifyKeyDown(*control, *event, LVN_KEYDOWN)) return;
    QTreeWidget::keyPressEvent(event);
  }
};

ListViewWidget* Widget(const Control& control) { return dynamic_cast<ListViewWidget*>(control.widget()); }

void SetCell(ListViewWidget& list, QTreeWidgetItem& item, int column, const char* text) {
  if (column < 0 || column >= list.columnCount()) return;
  item.setText(column, SjisToQString(text ? std::string_view(text) : std::string_view()));
}

UINT StateOf(const ListViewWidget& list, int row) {
  UINT state = 0;
  if (row == list.selectedRow() && row >= 0) state |= LVIS_SELECTED;
  if (row == list.focusedRow() && row >= 0) state |= LVIS_FOCUSED;
  return state;
}

void SetState(ListViewWidget& list, int row, UINT state, UINT mask) {
  QTreeWidgetItem* item = list.row(row);
  if (!item) return;
  const QModelIndex index = list.indexFromItem(item);
  QItemSelectionModel* model = list.selectionModel();
  if (mask & LVIS_SELECTED) {
    if (state & LVIS_SELECTED) {
      model->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
      model->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
  }
  if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED)) model->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

LRESULT InsertColumn(ListViewWidget& list, int at, const LVCOLUMN* column) {
  if (!column) return -1;
  const int count = list.columnCount();
  at = std::clamp(at, 0, count);
  QStringList headers;
  for (int c = 0; c < count; ++c) headers << list.headerItem()->text(c);
  headers.insert(at, (column->mask & LVCF_TEXT) && column->pszText ? SjisToQString(column->pszText) : QString());
  std::vector<int> widths;
  for (int c = 0; c < count; ++c) widths.push_back(list.columnWidth(c));
  list.setColumnCount(count + 1);
  list.setHeaderLabels(headers);
  // The rows' texts move one column to the right from the new one.
  for (int r = 0; r < list.rowCount(); ++r) {
    QTreeWidgetItem* item = list.row(r);
    for (int c = count; c > at; --c) item->setText(c, item->text(c - 1));
    item->setText(at, QString());
  }
  for (int c = 0; c < count; ++c) list.setColumnWidth(c < at ? c : c + 1, widths[static_cast<size_t>(c)]);
  const bool percent = (column->mask & LVCF_PERCENT) != 0;
  list.percents.insert(list.percents.begin() + at, percent ? std::clamp(column->cx, 0, 100) : 0);
  if (column->mask & LVCF_FMT) {
    const Qt::Alignment align = column->fmt == LVCFMT_RIGHT    ? Qt::AlignRight
                                : column->fmt == LVCFMT_CENTER ? Qt::AlignHCenter
                                                               : Qt::AlignLeft;
    list.headerItem()->setTextAlignment(at, align | Qt::AlignVCenter);
  }
  if (percent) {
    list.applyPercents();
  } else if (column->mask & LVCF_WIDTH) {
    list.setColumnWidth(at, std::max(column->cx, 0));
  }
  return at;
}

LRESULT InsertItem(ListViewWidget& list, const LVITEM* lv) {
  if (!lv || lv->iItem < 0) return -1;
  const int at = std::min(lv->iItem, list.rowCount());
  auto* item = new QTreeWidgetItem;
  list.insertTopLevelItem(at, item);
  if (lv->mask & LVIF_TEXT) SetCell(list, *item, 0, lv->pszText);
  if (lv->mask & LVIF_PARAM) item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(lv->lParam));
  if (lv->mask & LVIF_STATE) SetState(list, at, lv->state, lv->stateMask);
  return at;
}

LRESULT SetItem(ListViewWidget& list, int row, const LVITEM* lv, bool textOnly) {
  QTreeWidgetItem* item = lv ? list.row(row) : nullptr;
  if (!item) return 0;
  if (textOnly || (lv->mask & LVIF_TEXT)) {
    if (lv->iSubItem < 0 || lv->iSubItem >= list.columnCount()) return 0;
    SetCell(list, *item, lv->iSubItem, lv->pszText);
  }
  if (textOnly) return 1;
  if (lv->mask & LVIF_PARAM) item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(lv->lParam));
  if (lv->mask & LVIF_STATE) SetState(list, row, lv->state, lv->stateMask);
  return 1;
}

LRESULT GetItem(const ListViewWidget& list, LVITEM* lv) {
  QTreeWidgetItem* item = lv ? list.row(lv->iItem) : nullptr;
  if (!item) return 0;
  if (lv->mask & LVIF_TEXT) {
    if (lv->iSubItem < 0 || lv->iSubItem >= list.columnCount()) return 0;
    CopyShiftJisOut(item->text(lv->iSubItem), lv->pszText, lv->cchTextMax);
  }
  if (lv->mask & LVIF_PARAM) lv->lParam = static_cast<LPARAM>(item->data(0, Qt::UserRole).toLongLong());
  if (lv->mask & LVIF_STATE) lv->state = StateOf(list, lv->iItem) & lv->stateMask;
  return 1;
}

LRESULT NextItem(const ListViewWidget& list, int start, UINT flags) {
  for (int r = std::max(start + 1, 0); r < list.rowCount(); ++r) {
    const UINT state = StateOf(list, r);
    if ((flags & LVNI_SELECTED) && !(state & LVIS_SELECTED)) continue;
    if ((flags & LVNI_FOCUSED) && !(state & LVIS_FOCUSED)) continue;
    return r;
  }
  return -1;
}

LRESULT GetColumn(const ListViewWidget& list, int column, LVCOLUMN* out) {
  if (!out || column < 0 || column >= list.columnCount()) return 0;
  if (out->mask & LVCF_TEXT) CopyShiftJisOut(list.headerItem()->text(column), out->pszText, out->cchTextMax);
  if (out->mask & LVCF_WIDTH) out->cx = list.columnWidth(column);
  if (out->mask & LVCF_SUBITEM) out->iSubItem = column;
  if (out->mask & LVCF_FMT) {
    const int align = list.headerItem()->textAlignment(column) & Qt::AlignHorizontal_Mask;
    out->fmt = align == Qt::AlignRight ? LVCFMT_RIGHT : align == Qt::AlignHCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
  }
  return 1;
}

LRESULT SetColumn(ListViewWidget& list, int column, const LVCOLUMN* in) {
  if (!in || column < 0 || column >= list.columnCount()) return 0;
  if (in->mask & LVCF_TEXT) list.headerItem()->setText(column, SjisToQString(in->pszText ? std::string_view(in->pszText) : std::string_view()));
  if (in->mask & LVCF_WIDTH) {
    list.percents[static_cast<size_t>(column)] = 0;
    list.setColumnWidth(column, std::max(in->cx, 0));
  }
  return 1;
}

LPARAM ParamOf(const QTreeWidgetItem* item) { return static_cast<LPARAM>(item->data(0, Qt::UserRole).toLongLong()); }

LRESULT SortItems(ListViewWidget& list, LPARAM sortParam, PFNLVCOMPARE compare) {
  if (!compare) return 0;
  QTreeWidgetItem* selected = list.row(list.selectedRow());
  QTreeWidgetItem* focused = list.currentItem();
  std::vector<QTreeWidgetItem*> rows;
  while (list.rowCount() > 0) rows.push_back(list.takeTopLevelItem(0));
  std::stable_sort(rows.begin(), rows.end(), [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    return compare(ParamOf(a), ParamOf(b), sortParam) < 0;
  });
  for (QTreeWidgetItem* item : rows) list.addTopLevelItem(item);
  if (focused) list.setCurrentItem(focused, 0, QItemSelectionModel::NoUpdate);
  if (selected) SetState(list, list.rowOf(selected), LVIS_SELECTED, LVIS_SELECTED);
  return 1;
}

int RowHeight(const ListViewWidget& list) {
  const int h = list.rowCount() > 0 ? list.sizeHintForRow(0) : 0;
  return h > 0 ? h : list.fontMetrics().height();
}

void NotifySelection(Control& control) {
  ListViewWidget* list = Widget(control);
  if (!list) return;
  const int row = list->selectedRow();
  if (row < 0) return;
  NMLISTVIEW nm;
  nm.iItem = row;
  nm.uNewState = StateOf(*list, row);
  nm.uChanged = LVIF_STATE;
  nm.lParam = static_cast<LPARAM>(list->row(row)->data(0, Qt::UserRole).toLongLong());
  SendControlNotify(control, nm.hdr, LVN_ITEMCHANGED);
}

void NotifyDoubleClick(Control& control, int row, int column) {
  ListViewWidget* list = Widget(control);
  if (!list) return;
  NMITEMACTIVATE nm;
  nm.iItem = row;
  nm.iSubItem = column;
  nm.uNewState = StateOf(*list, row);
  if (QTreeWidgetItem* item = list->row(row)) nm.lParam = static_cast<LPARAM>(item->data(0, Qt::UserRole).toLongLong());
  SendControlNotify(control, nm.hdr, NM_DBLCLK);
}

void NotifyColumnClick(Control& control, int column) {
  NMLISTVIEW nm;
  nm.iItem = -1;
  nm.iSubItem = column;
  SendControlNotify(control, nm.hdr, LVN_COLUMNCLICK);
}

}  // namespace

QWidget* MakeListView(QWidget* parent) { return new ListViewWidget(parent); }

void ConnectListView(Control& control) {
  ListViewWidget* list = Widget(control);
  if (!list) return;
  list->control = &control;
  Control* c = &control;
  QObject::connect(list->header(), &QHeaderView::sectionClicked, list, [c](int column) { NotifyColumnClick(*c, column); });
  QObject::connect(list, &QTreeWidget::itemSelectionChanged, list, [c] { NotifySelection(*c); });
  QObject::connect(list, &QTreeWidget::itemDoubleClicked, list, [c, list](QTreeWidgetItem* item, int column) {
    NotifyDoubleClick(*c, list->rowOf(item), column);
  });
}

LRESULT ListViewMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewWidget* list = Widget(control);
  if (!list) return 0;
  QuietControls quiet(control.dialog());
  const int index = static_cast<int>(static_cast<intptr_t>(wParam));
  switch (message) {
    case LVM_GETITEMCOUNT:
      return list->rowCount();
    case LVM_GETCOLUMN:
      return GetColumn(*list, index, reinterpret_cast<LVCOLUMN*>(lParam));
    case LVM_SETCOLUMN:
      return SetColumn(*list, index, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_SORTITEMS:
      return SortItems(*list, static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_INSERTCOLUMN:
      return InsertColumn(*list, index, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_GETCOLUMNWIDTH:
      return index >= 0 && index < list->columnCount() ? list->columnWidth(index) : 0;
    case LVM_SETCOLUMNWIDTH:
      if (index < 0 || index >= list->columnCount()) return 0;
      list->percents[static_cast<size_t>(index)] = 0;
      list->setColumnWidth(index, lParam == LVSCW_AUTOSIZE ? list->contentWidth(index)
                                                           : std::max(static_cast<int>(lParam), 0));
      return 1;
    case LVM_INSERTITEM:
      return InsertItem(*list, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_SETITEM: {
      const auto* lv = reinterpret_cast<const LVITEM*>(lParam);
      return lv ? SetItem(*list, lv->iItem, lv, false) : 0;
    }
    case LVM_SETITEMTEXT:
      return SetItem(*list, index, reinterpret_cast<const LVITEM*>(lParam), true);
    case LVM_GETITEM:
      return GetItem(*list, reinterpret_cast<LVITEM*>(lParam));
    case LVM_GETITEMTEXT: {
      auto* lv = reinterpret_cast<LVITEM*>(lParam);
      QTreeWidgetItem* item = lv ? list->row(index) : nullptr;
      if (!item || lv->iSubItem < 0 || lv->iSubItem >= list->columnCount()) return 0;
      return CopyShiftJisOut(item->text(lv->iSubItem), lv->pszText, lv->cchTextMax);
    }
    case LVM_DELETEITEM: {
      QTreeWidgetItem* item = list->row(index);
      if (!item) return 0;
      delete list->takeTopLevelItem(index);
      return 1;
    }
    case LVM_DELETEALLITEMS:
      list->clear();
      return 1;
    case LVM_GETNEXTITEM:
      return NextItem(*list, index, static_cast<UINT>(lParam));
    case LVM_SETITEMSTATE: {
      const auto* lv = reinterpret_cast<const LVITEM*>(lParam);
      if (!lv) return 0;
      if (index == -1) {
        for (int r = 0; r < list->rowCount(); ++r) SetState(*list, r, lv->state, lv->stateMask);
        return 1;
      }
      if (!list->row(index)) return 0;
      SetState(*list, index, lv->state, lv->stateMask);
      return 1;
    }
    case LVM_GETITEMSTATE:
      return list->row(index) ? StateOf(*list, index) & static_cast<UINT>(lParam) : 0;
    case LVM_ENSUREVISIBLE:
      if (QTreeWidgetItem* item = list->row(index)) {
        list->scrollToItem(item);
        return 1;
      }
      return 0;
    case LVM_GETTOPINDEX: {
      const int row = list->rowOf(list->itemAt(QPoint(1, 1)));
      return std::max(row, 0);
    }
    case LVM_GETCOUNTPERPAGE:
      return std::max(list->viewport()->height() / RowHeight(*list), 0);
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      const DWORD old = list->extendedStyle;
      const DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~DWORD{0};
      list->extendedStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
      list->setAllColumnsShowFocus((list->extendedStyle & LVS_EX_FULLROWSELECT) != 0);
      return static_cast<LRESULT>(old);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return static_cast<LRESULT>(list->extendedStyle);
    default:
      return 0;
  }
}

ListViewContents ListViewState(const Control& control) {
  ListViewContents out;
  const ListViewWidget* list = Widget(control);
  if (!list) return out;
  for (int c = 0; c < list->columnCount(); ++c) {
    out.columns.push_back(QStringToSjis(list->headerItem()->text(c)));
    out.widths.push_back(list->columnWidth(c));
  }
  for (int r = 0; r < list->rowCount(); ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < list->columnCount(); ++c) cells.push_back(QStringToSjis(list->row(r)->text(c)));
    out.rows.push_back(std::move(cells));
  }
  out.focused = list->focusedRow();
  return out;
}

void ListViewUserSelect(Control& control, int row) {
  ListViewWidget* list = Widget(control);
  if (!list || !list->row(row)) return;
  // The toolkit's own selection signal tells the procedure.
  list->setCurrentItem(list->row(row));
  list->scrollToItem(list->row(row));
}

void ListViewUserDoubleClick(Control& control, int row) {
  ListViewWidget* list = Widget(control);
  if (!list || !list->row(row)) return;
  ListViewUserSelect(control, row);
  NotifyDoubleClick(control, row, 0);
}

void ListViewUserClickHeader(Control& control, int column) {
  ListViewWidget* list = Widget(control);
  if (!list || column < 0 || column >= list->columnCount()) return;
  // A press and release on the middle of the section, which the header takes as a click.
  QHeaderView* header = list->header();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
  const QPoint global = header->viewport()->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(header->viewport(), &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(header->viewport(), &release);
}

}  // namespace platform
