#include "calc/tape.h"

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

void Tape::insertAt(int position, const QString& line) {
    position = std::clamp(position, 0, count());
    beginInsertRows({}, position, position);
    m_lines.insert(position, line);
    endInsertRows();
    if (m_selected >= position)
        moveSelection(m_selected + 1);
}

void Tape::removeAt(int position) {
    if (position < 0 || position >= count())
        return;
    beginRemoveRows({}, position, position);
    m_lines.removeAt(position);
    endRemoveRows();
    if (m_selected == position)
        moveSelection(-1);
    else if (m_selected > position)
        moveSelection(m_selected - 1);
}

void Tape::replaceAt(int position, const QString& line) {
    if (position < 0 || position >= count())
        return;
    m_lines[position] = line;
    const QModelIndex changed = index(position);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void Tape::replaceFrom(int position, QStringList lines) {
    position = std::clamp(position, 0, count());
    const int kept = std::min(count() - position, static_cast<int>(lines.size()));
    for (int i = 0; i < kept; ++i)
        m_lines[position + i] = std::move(lines[i]);
    if (kept > 0)
        emit dataChanged(index(position), index(position + kept - 1), {Qt::DisplayRole});
    if (position + kept < count()) {
        beginRemoveRows({}, position + kept, count() - 1);
        m_lines.resize(position + kept);
        endRemoveRows();
        if (m_selected >= count())
            moveSelection(-1);
    }
    append(lines.mid(kept));
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
