#pragma once

#include <QStyledItemDelegate>

class QListView;
class Tape;

// Shows the tape in the list view and keeps the view's selection and the tape's in step.
void BindTapeView(QListView& view, Tape& tape);

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
