#pragma once

#include <QAccessible>
#include <QListView>

// A list view whose rows all have the height and width of its last row, so that it places,
// finds and paints a row without laying out the others: adding lines to a tape of any length
// costs the same. It scrolls by rows and otherwise behaves as a QListView in list mode with one
// column, including its selection model, keys, tooltips and accessibility events.
class TapeListView : public QListView {
    Q_OBJECT

public:
    explicit TapeListView(QWidget* parent = nullptr);

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    // Only updates the scroll range: QListView's own lays out every row.
    void doItemsLayout() override;

protected:
    // QListView's own versions of these lay out every row; they go to QAbstractItemView's.
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    QSize viewportSizeHint() const override;

private:
    int rows() const;
    int firstRowShown() const;
    // The rows that fit in the viewport whole; at least one.
    int rowsInView() const;
    int pageRows() const;
    int rowWidth() const;
    // The rows that the viewport's rectangle touches, clamped to the model's rows.
    std::pair<int, int> rowsIn(const QRect& rect) const;
    QModelIndex row(int position) const;
    void measureRows();
    void tellAccessibility(QAccessible::Event event, const QModelIndex& index);

    QSize m_rowSize{0, 0};
    QPersistentModelIndex m_hover;
};
