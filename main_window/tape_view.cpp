#include "main_window/tape_view.h"

#include "calc/tape.h"

#include <QHelpEvent>
#include <QListView>
#include <QScrollBar>
#include <QToolTip>

#include <limits>

void BindTapeView(QListView& view, Tape& tape) {
    // Ahead of the view, which would select a neighbour of a current line taken away.
    QObject::connect(&tape, &QAbstractItemModel::rowsAboutToBeRemoved, &view,
                     [&view](const QModelIndex&, int first, int last) {
                         const int current = view.currentIndex().row();
                         if (current >= first && current <= last)
                             view.selectionModel()->clearCurrentIndex();
                     });
    view.setModel(&tape);
    view.setUniformItemSizes(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setTextElideMode(Qt::ElideNone);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setItemDelegate(new TapeLineDelegate(&view));
    // A slim scroll bar stays inside the right margin that the padding leaves free.
    view.verticalScrollBar()->setStyleSheet(QStringLiteral("QScrollBar:vertical { width: 6px; }"));

    // Connected after the selection model, which has already followed the rows.
    const auto unselectWithin = [&view](int first, int last) {
        const int selected = SelectedRow(view);
        if (selected >= first && selected <= last)
            view.selectionModel()->clearSelection();
    };
    QObject::connect(&tape, &QAbstractItemModel::dataChanged, &view,
                     [unselectWithin](const QModelIndex& top, const QModelIndex& bottom) {
                         unselectWithin(top.row(), bottom.row());
                     });
    const auto unselectMoved = [unselectWithin](const QModelIndex&, int first, int) {
        unselectWithin(first, std::numeric_limits<int>::max());
    };
    QObject::connect(&tape, &QAbstractItemModel::rowsInserted, &view, unselectMoved);
    QObject::connect(&tape, &QAbstractItemModel::rowsRemoved, &view, unselectMoved);
}

int SelectedRow(const QAbstractItemView& view) {
    const QModelIndexList rows = view.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString SelectedEntry(const QAbstractItemView& view) {
    const int row = SelectedRow(view);
    return row < 0 ? QString() : view.model()->index(row, 0).data().toString().trimmed();
}

// The style clips a row's drawing to the row, the viewport clips it to what is in view; the text
// starts behind the style's text margin.
bool TapeLineDelegate::isCutOff(const QAbstractItemView& view, const QStyleOptionViewItem& row,
                                const QModelIndex& index) const {
    QStyleOptionViewItem item = row;
    initStyleOption(&item, index);
    const QStyle* style = view.style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, &view);
    const int start =
        text.left() + style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    const int end = start + QFontMetrics(item.font).horizontalAdvance(item.text);
    const QRect shown = item.rect.intersected(view.viewport()->rect());
    return start < shown.left() || end > shown.left() + shown.width();
}

bool TapeLineDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid() || !isCutOff(*view, option, index)) {
        event->ignore();
        return false;
    }
    // A tooltip decides by its text whether it is rich text; the line is shown as it stands, on
    // one line.
    const QString line = index.data(Qt::DisplayRole).toString().trimmed();
    QToolTip::showText(event->globalPos(),
                       QStringLiteral("<p style='white-space:pre'>") + line.toHtmlEscaped() +
                           QStringLiteral("</p>"),
                       view->viewport(), option.rect);
    return true;
}
