#include "main_window/tape_view.h"

#include "calc/tape.h"

#include <QListView>
#include <QScrollBar>

void BindTapeView(QListView& view, Tape& tape) {
    view.setModel(&tape);
    view.setUniformItemSizes(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setTextElideMode(Qt::ElideNone);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
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
