#include "resources/picture.h"

#include <QFileInfo>

Picture::Picture(const QString& path)
    : m_single(path) {
    const QString doublePath = DoubleSizePath(path);
    if (QFileInfo::exists(doublePath))
        m_doublePath = doublePath;
}

Picture::Picture(QPixmap single)
    : m_single(std::move(single)) {}

const QPixmap& Picture::forRatio(qreal devicePixelRatio) const {
    if (devicePixelRatio <= 1 || m_doublePath.isEmpty())
        return m_single;
    if (m_double.isNull())
        m_double = QPixmap(m_doublePath); // its name gives it the device pixel ratio 2
    return m_double.isNull() ? m_single : m_double;
}

QIcon Picture::icon() const {
    QIcon icon(m_single);
    if (!m_doublePath.isEmpty())
        icon.addFile(m_doublePath);
    return icon;
}

QString DoubleSizePath(const QString& path) {
    const QFileInfo file(path);
    return file.path() + u'/' + file.completeBaseName() + QStringLiteral("@2x.") + file.suffix();
}
