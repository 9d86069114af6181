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
    int firstChanged = kept;
    for (int i = 0; i < kept; ++i) {
        const QStringView text = line(i);
        if (m_lines.at(i) != text) {
            firstChanged = std::min(firstChanged, i);
            overwrite(m_lines[i], text);
        }
    }
    if (firstChanged < kept)
        emit dataChanged(index(firstChanged), index(kept - 1), {Qt::DisplayRole});
    if (kept < this->count()) {
        beginRemoveRows({}, kept, this->count() - 1);
        m_lines.resize(kept);
        endRemoveRows();
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
}

QStringList Tape::swapLines(int position, int count, QStringList lines) {
    position = std::clamp(position, 0, this->count());
    count = std::clamp(count, 0, this->count() - position);
    const auto added = static_cast<int>(lines.size());
    if (count == this->count() && (count > 0 || added > 0)) {
        beginResetModel();
        m_lines.swap(lines);
        endResetModel();
        return lines;
    }
    if (count == added) {
        std::swap_ranges(m_lines.begin() + position, m_lines.begin() + position + count,
                         lines.begin());
        if (count > 0)
            emit dataChanged(index(position), index(position + count - 1), {Qt::DisplayRole});
        return lines;
    }
    QStringList taken = takeLines(position, count);
    insertLines(position, std::move(lines));
    return taken;
}

QStringList Tape::takeLines(int position, int count) {
    if (count == 0)
        return {};
    beginRemoveRows({}, position, position + count - 1);
    const auto first = m_lines.begin() + position;
    QStringList taken(std::make_move_iterator(first), std::make_move_iterator(first + count));
    m_lines.remove(position, count);
    endRemoveRows();
    return taken;
}

void Tape::insertLines(int position, QStringList lines) {
    if (lines.isEmpty())
        return;
    const auto added = static_cast<int>(lines.size());
    beginInsertRows({}, position, position + added - 1);
    m_lines.insert(position, added, QString());
    std::move(lines.begin(), lines.end(), m_lines.begin() + position);
    endInsertRows();
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
