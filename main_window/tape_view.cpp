#include "main_window/tape_view.h"

#include "calc/tape.h"

#include <QHelpEvent>
#include <QListView>
#include <QScrollBar>
#include <QToolTip>

void BindTapeView(QListView& view, Tape& tape) {
    view.setModel(&tape);
    view.setUniformItemSizes(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setTextElideMode(Qt::ElideNone);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setItemDelegate(new TapeLineDelegate(&view));
    // A slim scroll bar stays inside the right margin that the padding leaves free.
    view.verticalScrollBar()->setStyleSheet(QStringLiteral("QScrollBar:vertical { width: 6px; }"));

    QItemSelectionModel* selection = view.selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, &tape, [&tape, selection] {
        const QModelIndexList rows = selection->selectedRows();
        tape.setSelected(rows.isEmpty() ? -1 : rows.first().row());
    });
    QObject::connect(&tape, &Tape::selectedChanged, selection, [&tape, selection](int position) {
        const QModelIndexList rows = selection->selectedRows();
        const int shown = rows.isEmpty() ? -1 : rows.first().row();
        if (shown == position)
            return;
        if (position < 0)
            selection->clearSelection();
        else
            selection->select(tape.index(position), QItemSelectionModel::ClearAndSelect);
    });
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
