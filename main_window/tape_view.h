#pragma once

#include <QStyledItemDelegate>

class QListView;
class Tape;

// Shows the tape in the list view. A selected line that the tape replaces, or moves by a change
// of its count, is no longer selected, and lines taken away leave no other line selected.
void BindTapeView(QListView& view, Tape& tape);

// The line selected in the view; -1 when none is.
int SelectedRow(const QAbstractItemView& view);
// The selected line without its alignment blanks; empty when no line is selected.
QString SelectedEntry(const QAbstractItemView& view);

// Draws the tape's lines as the list shows them. A line that the list cuts off at its edge shows
// its whole text as the row's tooltip; over any other line the list's own tooltip shows.
class TapeLineDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    // Whether the line at the index is wider than the part of its row that the view shows.
    bool isCutOff(const QAbstractItemView& view, const QStyleOptionViewItem& row,
                  const QModelIndex& index) const;
};
