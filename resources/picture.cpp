#include "resources/picture.h"

#include "resources/picture_file.h"

#include <QApplication>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

// An icon of a picture that reads the picture's double version only when a screen or a caller
// asks for more pixels than the picture has; Qt's own icons read every file they are given at
// once.
class PictureIconEngine final : public QIconEngine {
public:
    explicit PictureIconEngine(Picture picture)
        : m_picture(std::move(picture)) {}

    QIconEngine* clone() const override { return new PictureIconEngine(m_picture); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {m_picture.size(), m_picture.forRatio(2).size()};
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        QSize actual = m_picture.size();
        if (actual.width() > size.width() || actual.height() > size.height())
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1);
    }

    // The size is in device pixels, scale of them to a point.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        const bool moreThanThePicture =
            size.width() > m_picture.size().width() || size.height() > m_picture.size().height();
        QPixmap pixmap = m_picture.forRatio(scale > 1 || moreThanThePicture ? 2 : 1);
        if (pixmap.width() > size.width() || pixmap.height() > size.height())
            pixmap = pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Normal || !qApp)
            return pixmap;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale = painter->device()->devicePixelRatioF();
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }

private:
    Picture m_picture;
};

} // namespace

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
    return QIcon(new PictureIconEngine(*this));
}
