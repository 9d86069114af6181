#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include <functional>

// One list of the number tape: its display lines. The views keep which line is selected.
// Reading a position outside the list gives the empty text.
class Tape : public QAbstractListModel {
    Q_OBJECT

public:
    explicit Tape(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_lines.size()); }
    QString text(int position) const;
    const QStringList& lines() const { return m_lines; }

    void append(const QString& line);
    // All lines in one insertion, taking them over without copying.
    void append(QStringList lines);
    // A position outside the list changes nothing.
    void replaceAt(int position, const QString& line);
    // Makes the list count lines long, line i reading as line(i); a line that reads the same
    // keeps its text. Kept lines change in one step, added lines come in one step.
    void rewrite(int count, const std::function<QStringView(int)>& line);
    void clear();
    // Puts the lines in place of the count lines at the position and returns those, moving
    // lines instead of copying them: a whole list changes hands at once.
    QStringList swapLines(int position, int count, QStringList lines);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList takeLines(int position, int count);
    void insertLines(int position, QStringList lines);

    QStringList m_lines;
};

// The three lists of the number tape: formulas, calculation results and running totals.
struct NumberTape {
    Tape List1;
    Tape List2;
    Tape List3;
};
