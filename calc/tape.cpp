#include "calc/tape.h"

#include <algorithm>

namespace {

// Writes the text over the line, in the line's own memory where it has room.
void overwrite(QString& line, QStringView text) {
    line.resize(text.size());
    std::copy(text.begin(), text.end(), line.data());
}

} // namespace

Tape::Tape(QObject* parent)
    : QAbstractListModel(parent) {}

QString Tape::text(int position) const {
    return position >= 0 && position < count() ? m_lines.at(position) : QString();
}

void Tape::append(const QString& line) {
    beginInsertRows({}, count(), count());
    m_lines.append(line);
    endInsertRows();
}

void Tape::append(QStringList lines) {
    if (lines.isEmpty())
        return;
    beginInsertRows({}, count(), count() + static_cast<int>(lines.size()) - 1);
    if (m_lines.isEmpty())
        m_lines = std::move(lines);
    else
        m_lines.append(std::move(lines));
    endInsertRows();
}

void Tape::replaceAt(int position, const QString& line) {
    if (position < 0 || position >= count())
        return;
    m_lines[position] = line;
    const QModelIndex changed = index(position);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void Tape::rewrite(int count, const std::function<QStringView(int)>& line) {
    const int kept = std::min(this->count(), std::max(count, 0));
    for (int i = 0; i < kept; ++i) {
        const QStringView text = line(i);
        if (m_lines.at(i) != text)
            overwrite(m_lines[i], text);
    }
    if (kept > 0)
        emit dataChanged(index(0), index(kept - 1), {Qt::DisplayRole});
    if (kept < this->count()) {
        beginRemoveRows({}, kept, this->count() - 1);
        m_lines.resize(kept);
        endRemoveRows();
        if (m_selected >= kept)
            moveSelection(-1);
    }
    QStringList added;
    for (int i = kept; i < count; ++i)
        added.append(line(i).toString());
    append(std::move(added));
}

void Tape::clear() {
    beginResetModel();
    m_lines.clear();
    endResetModel();
    moveSelection(-1);
}

void Tape::setSelected(int position) {
    moveSelection(position >= 0 && position < count() ? position : -1);
}

void Tape::moveSelection(int position) {
    if (position == m_selected)
        return;
    m_selected = position;
    emit selectedChanged(position);
}

int Tape::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant Tape::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_lines.at(index.row());
    return {};
}
