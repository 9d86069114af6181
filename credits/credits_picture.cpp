#include "credits/credits_picture.h"

#include "calc/module1.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QRectF toPixels(const QRectF& twips) {
    return {twips.x() / TwipsPerPixel, twips.y() / TwipsPerPixel, twips.width() / TwipsPerPixel,
            twips.height() / TwipsPerPixel};
}

// The pixel row a position in twips falls in.
int pixelRow(double twips) {
    return static_cast<int>(std::floor(twips / TwipsPerPixel));
}

} // namespace

QFont CreditsFont() {
    QFont font = fonts::SansSerif(12);
    font.setKerning(false);
    return font;
}

CreditsPicture::CreditsPicture(QWidget* parent)
    : QWidget(parent)
    , m_measurer(font()) {}

int CreditsPicture::ScaleWidth() const {
    return width() * TwipsPerPixel;
}

int CreditsPicture::ScaleHeight() const {
    return height() * TwipsPerPixel;
}

double CreditsPicture::lineHeight() const {
    return QFontMetricsF(font()).height() * TwipsPerPixel;
}

void CreditsPicture::removePicture() {
    m_picture = QImage();
    forgetPrintedLines();
}

void CreditsPicture::keepImageAsPicture() {
    m_picture = m_image;
    forgetPrintedLines();
}

void CreditsPicture::Cls() {
    forgetPrintedLines();
    if (m_image.size() != size())
        m_image = QImage(size(), QImage::Format_RGB32);
    if (m_picture.isNull()) {
        m_image.fill(palette().color(QPalette::Window));
        return;
    }
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_picture);
}

void CreditsPicture::PaintPicture(const QImage& picture, const QRectF& twips) {
    if (picture.isNull())
        return;
    forgetPrintedLines();
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(toPixels(twips), picture);
}

void CreditsPicture::PrintLines(double topTwips, const QStringList& lines) {
    const int row = pixelRow(topTwips);
    m_printed = PrintedLines{row, lines};
    const double height = lineHeight() / TwipsPerPixel;
    if (!(height > 0) || lines.isEmpty())
        return;
    const auto count = static_cast<double>(lines.size());
    const auto first = static_cast<qsizetype>(std::clamp(std::floor(-row / height), 0.0, count));
    const auto past = static_cast<qsizetype>(
        std::clamp(std::ceil((m_image.height() - row) / height), 0.0, count));
    QPainter painter(&m_image);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const double ascent = QFontMetricsF(font()).ascent();
    for (qsizetype index = first; index < past; ++index)
        painter.drawText(QPointF(0, row + static_cast<double>(index) * height + ascent),
                         lines[index]);
}

bool CreditsPicture::showsLines(double topTwips, const QStringList& lines) const {
    return m_printed && m_image.size() == size() && m_printed->row == pixelRow(topTwips) &&
           m_printed->lines.constData() == lines.constData();
}

void CreditsPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_image.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(0, 0, m_image);
}

void CreditsPicture::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CreditsPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void CreditsPicture::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        m_measurer = FontMeasurer(font());
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        forgetPrintedLines();
    QWidget::changeEvent(event);
}
