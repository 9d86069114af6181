#include "credits/credits_picture.h"

#include "calc/module1.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QRectF toPixels(const QRectF& twips) {
    return {twips.x() / TwipsPerPixel, twips.y() / TwipsPerPixel, twips.width() / TwipsPerPixel,
            twips.height() / TwipsPerPixel};
}

} // namespace

QFont CreditsFont() {
    QFont font = fonts::SansSerif(12);
    font.setKerning(false);
    return font;
}

CreditsPicture::CreditsPicture(QWidget* parent)
    : QWidget(parent)
    , m_measurer(font()) {
    setAttribute(Qt::WA_OpaquePaintEvent); // every repaint covers its whole region
}

int CreditsPicture::ScaleWidth() const {
    return width() * TwipsPerPixel;
}

int CreditsPicture::ScaleHeight() const {
    return height() * TwipsPerPixel;
}

double CreditsPicture::lineHeight() const {
    return QFontMetricsF(font()).height() * TwipsPerPixel;
}

int CreditsPicture::deviceRow(double twips) const {
    return static_cast<int>(std::floor(twips * devicePixelRatioF() / TwipsPerPixel));
}

QSize CreditsPicture::deviceSize() const {
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

QRect CreditsPicture::toDevice(const QRect& logical) const {
    const qreal ratio = devicePixelRatioF();
    return QRectF(QPointF(logical.topLeft()) * ratio, QSizeF(logical.size()) * ratio)
        .toAlignedRect();
}

QRect CreditsPicture::toLogical(const QRect& device) const {
    const qreal ratio = devicePixelRatioF();
    return QRectF(QPointF(device.topLeft()) / ratio, QSizeF(device.size()) / ratio).toAlignedRect();
}

void CreditsPicture::removePicture() {
    m_picture = QImage();
    m_backgroundIsPicture = false;
    m_printed.reset();
}

void CreditsPicture::Cls() {
    if (m_picture.size() == deviceSize()) {
        m_background = m_picture;
    } else {
        m_background = QImage(deviceSize(), QImage::Format_RGB32);
        m_background.fill(palette().color(QPalette::Window));
        if (!m_picture.isNull())
            QPainter(&m_background).drawImage(0, 0, m_picture);
    }
    m_text.reset(deviceSize());
    m_textIsEmpty = true;
    m_backgroundIsPicture = true;
    m_printed.reset();
    update();
}

void CreditsPicture::PaintPicture(const QImage& picture, const QRectF& twips) {
    if (picture.isNull())
        return;
    flattenText();
    QPainter painter(&m_background);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(devicePixelRatioF(), devicePixelRatioF());
    painter.drawImage(toPixels(twips), picture);
    m_backgroundIsPicture = false;
    update();
}

void CreditsPicture::keepImageAsPicture() {
    flattenText();
    m_picture = m_background;
    m_backgroundIsPicture = true;
}

void CreditsPicture::flattenText() {
    if (m_background.size() != deviceSize())
        Cls();
    if (m_textIsEmpty)
        return;
    m_background = composite();
    m_text.reset(deviceSize());
    m_textIsEmpty = true;
    m_backgroundIsPicture = false;
    m_printed.reset();
}

void CreditsPicture::PrintLines(double topTwips, const QStringList& lines) {
    if (m_text.size() != deviceSize())
        Cls();
    const bool alone = m_textIsEmpty && m_backgroundIsPicture;
    const int row = deviceRow(topTwips);
    m_text.paint({0, deviceSize().height()}, [&](QPainter& painter, ScrollingLayer::Rows rows) {
        drawLines(painter, rows, row, lines);
    });
    m_textIsEmpty = false;
    if (alone)
        m_printed = PrintedLines{row, lines};
    else
        m_printed.reset();
    update();
}

void CreditsPicture::ShowLinesAt(double topTwips, const QStringList& lines) {
    const int row = deviceRow(topTwips);
    const bool shown = m_printed && m_printed->lines.constData() == lines.constData() &&
                       m_text.size() == deviceSize();
    const int shift = shown ? row - m_printed->row : 0;
    if (!shown || std::abs(shift) >= deviceSize().height()) {
        Cls();
        PrintLines(topTwips, lines);
        return;
    }
    if (shift == 0)
        return;
    m_printed->row = row;
    const QRegion changed =
        m_text.scroll(shift, [this, row](QPainter& painter, ScrollingLayer::Rows rows) {
            drawLines(painter, rows, row, m_printed->lines);
        });
    QRegion repaint;
    for (const QRect& rect : changed)
        repaint += toLogical(rect);
    update(repaint);
}

CreditsPicture::LineRange CreditsPicture::linesReaching(ScrollingLayer::Rows rows, int row,
                                                        qsizetype count) const {
    const double rowsPerLine = QFontMetricsF(font()).height() * devicePixelRatioF();
    if (!(rowsPerLine > 0))
        return {0, 0};
    const auto clamped = [count](double line) {
        return static_cast<qsizetype>(std::clamp(line, 0.0, static_cast<double>(count)));
    };
    return {clamped(std::floor((rows.first - row) / rowsPerLine) - 1),
            clamped(std::ceil((rows.past - row) / rowsPerLine) + 1)};
}

// Line i stands at device row (row + i × line height); its baseline lies one ascent lower.
void CreditsPicture::drawLines(QPainter& painter, ScrollingLayer::Rows rows, int row,
                               const QStringList& lines) {
    const LineRange drawn = linesReaching(rows, row, lines.size());
    const LineRange inView = linesReaching({0, deviceSize().height()}, row, lines.size());
    const qreal ratio = devicePixelRatioF();
    const double height = QFontMetricsF(font()).height();
    painter.translate(0, row);
    painter.scale(ratio, ratio);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    for (qsizetype index = drawn.first; index < drawn.past; ++index)
        painter.drawStaticText(QPointF(0, static_cast<double>(index) * height),
                               laidOut(lines, index, inView));
}

const QStaticText& CreditsPicture::laidOut(const QStringList& lines, qsizetype index,
                                           LineRange inView) {
    if (m_laidOutLines.constData() != lines.constData()) {
        m_laidOut.clear();
        m_laidOutLines = lines;
    }
    auto known = m_laidOut.find(index);
    if (known != m_laidOut.end())
        return *known;
    m_laidOut.removeIf([inView](const auto& line) {
        return line.key() < inView.first || line.key() >= inView.past;
    });
    QStaticText line(lines[index]);
    line.setTextFormat(Qt::PlainText);
    line.setPerformanceHint(QStaticText::AggressiveCaching);
    return *m_laidOut.insert(index, line);
}

QImage CreditsPicture::composite() const {
    QImage shown = m_background.copy();
    if (!shown.isNull() && !m_textIsEmpty) {
        QPainter painter(&shown);
        m_text.drawOnto(painter, shown.rect(), 1.0);
    }
    return shown;
}

QImage CreditsPicture::image() const {
    return composite();
}

void CreditsPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    for (const QRect& rect : event->region()) {
        const QRect device = toDevice(rect);
        if (m_background.size() != deviceSize())
            painter.fillRect(rect, palette().color(QPalette::Window));
        painter.drawImage(QRectF(QPointF(device.topLeft()) / ratio, QSizeF(device.size()) / ratio),
                          m_background, device);
        if (!m_textIsEmpty)
            m_text.drawOnto(painter, device, ratio);
    }
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
    if (event->type() == QEvent::FontChange)
        m_laidOut.clear();
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        m_printed.reset();
    QWidget::changeEvent(event);
}
