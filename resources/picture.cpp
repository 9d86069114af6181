#include "resources/picture.h"

#include <QFileInfo>

Picture::Picture(const QString& path)
    : m_single(path) {
    const QString doublePath = DoubleSizePath(path);
    if (QFileInfo::exists(doublePath))
        m_double = QPixmap(doublePath); // its name gives it the device pixel ratio 2
}

Picture::Picture(QPixmap single)
    : m_single(std::move(single)) {}

const QPixmap& Picture::forRatio(qreal devicePixelRatio) const {
    return devicePixelRatio > 1 && !m_double.isNull() ? m_double : m_single;
}

QIcon Picture::icon() const {
    QIcon icon(m_single);
    if (!m_double.isNull())
        icon.addPixmap(m_double);
    return icon;
}

QString DoubleSizePath(const QString& path) {
    const QFileInfo file(path);
    return file.path() + u'/' + file.completeBaseName() + QStringLiteral("@2x.") + file.suffix();
}
