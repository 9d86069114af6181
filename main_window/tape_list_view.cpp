#include "main_window/tape_list_view.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

TapeListView::TapeListView(QWidget* parent)
    : QListView(parent) {
    setVerticalScrollMode(ScrollPerItem);
}

int TapeListView::rows() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

QModelIndex TapeListView::row(int position) const {
    return position >= 0 && position < rows() ? model()->index(position, modelColumn(), rootIndex())
                                              : QModelIndex();
}

int TapeListView::firstRowShown() const {
    return verticalScrollBar()->value();
}

int TapeListView::rowsInView() const {
    return std::max(1, viewport()->height() / std::max(1, m_rowSize.height()));
}

// A page up or down keeps one row of the page before in view.
int TapeListView::pageRows() const {
    return std::max(1, rowsInView() - 1);
}

int TapeListView::rowWidth() const {
    return std::max(viewport()->width(), m_rowSize.width());
}

// As a list view with rows of one size measures them: by its last row, probably the widest.
void TapeListView::measureRows() {
    const QModelIndex last = row(rows() - 1);
    if (!last.isValid())
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    m_rowSize = itemDelegateForIndex(last)->sizeHint(option, last);
}

std::pair<int, int> TapeListView::rowsIn(const QRect& rect) const {
    const int height = std::max(1, m_rowSize.height());
    const int first = firstRowShown() + std::max(0, rect.top()) / height;
    const int last = firstRowShown() + std::max(0, rect.bottom()) / height;
    return {first, std::min(last, rows() - 1)};
}

QRect TapeListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex() ||
        index.column() != modelColumn() || isRowHidden(index.row()))
        return {};
    return {0, (index.row() - firstRowShown()) * m_rowSize.height(), rowWidth(),
            m_rowSize.height()};
}

QModelIndex TapeListView::indexAt(const QPoint& point) const {
    if (point.x() < 0 || point.x() >= rowWidth() || point.y() < 0 || m_rowSize.height() <= 0)
        return {};
    return row(firstRowShown() + point.y() / m_rowSize.height());
}

void TapeListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    const int position = index.row();
    const int first = firstRowShown();
    const int shown = rowsInView();
    switch (hint) {
    case EnsureVisible:
        if (position < first)
            verticalScrollBar()->setValue(position);
        else if (position >= first + shown)
            verticalScrollBar()->setValue(position - shown + 1);
        return;
    case PositionAtTop:
        return verticalScrollBar()->setValue(position);
    case PositionAtBottom:
        return verticalScrollBar()->setValue(position - shown + 1);
    case PositionAtCenter:
        return verticalScrollBar()->setValue(position - shown / 2);
    }
}

void TapeListView::doItemsLayout() {
    QAbstractItemView::doItemsLayout();
}

void TapeListView::updateGeometries() {
    measureRows();
    QScrollBar& bar = *verticalScrollBar();
    const int shown = rowsInView();
    bar.setSingleStep(1);
    bar.setPageStep(shown);
    bar.setRange(0, std::max(0, rows() - shown));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

QSize TapeListView::viewportSizeHint() const {
    return {m_rowSize.width(), m_rowSize.height() * std::min(rows(), rowsInView())};
}

void TapeListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    // Rows added below the last row in view change only the scroll bar.
    if (start <= firstRowShown() + rowsInView())
        viewport()->update();
}

void TapeListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    scheduleDelayedItemsLayout();
}

void TapeListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>& roles) {
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

void TapeListView::resizeEvent(QResizeEvent* event) {
    QAbstractItemView::resizeEvent(event);
}

int TapeListView::horizontalOffset() const {
    return 0;
}

int TapeListView::verticalOffset() const {
    return firstRowShown() * m_rowSize.height();
}

// The scroll bar counts rows.
void TapeListView::scrollContentsBy(int dx, int dy) {
    QAbstractItemView::scrollContentsBy(dx, dy * m_rowSize.height());
}

QModelIndex TapeListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return row(0);
    const int position = current.row();
    const auto clamped = [this](int to) { return row(std::clamp(to, 0, rows() - 1)); };
    switch (action) {
    case MoveUp:
    case MovePrevious:
        return clamped(position - 1);
    case MoveDown:
    case MoveNext:
        return clamped(position + 1);
    case MovePageUp:
        return clamped(position - pageRows());
    case MovePageDown:
        return clamped(position + pageRows());
    case MoveHome:
        return row(0);
    case MoveEnd:
        return row(rows() - 1);
    case MoveLeft:
    case MoveRight:
        return current;
    }
    return current;
}

// A click selects the row under it, a stroke the rows it crosses.
void TapeListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    QItemSelection selection;
    const auto [first, last] = rowsIn(area);
    if (area.right() >= 0 && area.left() < rowWidth() && area.bottom() >= 0 && first <= last)
        selection.select(row(first), row(last));
    selectionModel()->select(selection, command);
}

QRegion TapeListView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const auto [shownFirst, shownLast] = rowsIn(viewport()->rect());
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex() || range.left() > modelColumn() ||
            range.right() < modelColumn())
            continue;
        const int first = std::max(range.top(), shownFirst);
        const int last = std::min(range.bottom(), shownLast);
        if (first <= last)
            region += visualRect(row(first)).united(visualRect(row(last)));
    }
    return region;
}

void TapeListView::paintEvent(QPaintEvent* event) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State state = option.state;
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    QPainter painter(viewport());
    const auto [first, last] = rowsIn(event->rect());
    for (int position = first; position <= last; ++position) {
        const QModelIndex index = row(position);
        if (isRowHidden(position))
            continue;
        option.rect = visualRect(index);
        option.state = state;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focus && index == current)
            option.state |= QStyle::State_HasFocus;
        option.state.setFlag(QStyle::State_MouseOver, index == m_hover);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

// The row under the pointer, as the view follows it, and none once the pointer has left.
bool TapeListView::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        m_hover = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
        break;
    case QEvent::MouseMove:
        m_hover = indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        m_hover = QPersistentModelIndex();
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

void TapeListView::tellAccessibility(QAccessible::Event event, const QModelIndex& index) {
    if (!QAccessible::isActive() || !index.isValid())
        return;
    QAccessibleEvent told(this, event);
    told.setChild(index.row());
    QAccessible::updateAccessibility(&told);
}

void TapeListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (hasFocus())
        tellAccessibility(QAccessible::Focus, current);
    QAbstractItemView::currentChanged(current, previous);
}

void TapeListView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    if (!selected.indexes().isEmpty())
        tellAccessibility(QAccessible::Selection, selected.indexes().constFirst());
    if (!deselected.indexes().isEmpty())
        tellAccessibility(QAccessible::SelectionRemove, deselected.indexes().constFirst());
    QAbstractItemView::selectionChanged(selected, deselected);
}
