#include "credits/credits_picture.h"

#include "calc/twips.h"
#include "credits/device_pixels.h"
#ifdef ZIFFERON_XRENDER
#include "credits/xrender_screen.h"
#endif

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>

#include <algorithm>
#include <cmath>

namespace {

// The smallest rectangle that holds every pixel that is not fully transparent.
QRect inkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        const ScrollingLayer::Span ink = ScrollingLayer::inkOf(
            reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width());
        if (!ink.isEmpty())
            bounds |= QRect(ink.left, y, ink.right - ink.left, 1);
    }
    return bounds;
}

// Moves reach an X11 screen through RENDER where the build has it; elsewhere Qt paints them.
std::unique_ptr<CreditsScreen> screenFor([[maybe_unused]] QWidget& box) {
#ifdef ZIFFERON_XRENDER
    return XRenderScreenFor(box);
#else
    return nullptr;
#endif
}

} // namespace

QFont CreditsFont() {
    QFont font = fonts::SansSerif(12);
    font.setKerning(false);
    return font;
}

CreditsPicture::CreditsPicture(QWidget* parent)
    : QWidget(parent)
    , m_measurer(font())
    , m_lineHeight(QFontMetricsF(font()).height())
    , m_screen(screenFor(*this)) {
    setAttribute(Qt::WA_OpaquePaintEvent); // every repaint covers its whole region
}

CreditsPicture::~CreditsPicture() = default;

void CreditsPicture::setScreen(std::unique_ptr<CreditsScreen> screen) {
    m_screen = std::move(screen);
}

int CreditsPicture::ScaleWidth() const {
    return width() * TwipsPerPixel;
}

int CreditsPicture::ScaleHeight() const {
    return height() * TwipsPerPixel;
}

double CreditsPicture::lineHeight() const {
    return m_lineHeight * TwipsPerPixel;
}

CreditsPicture::Device CreditsPicture::device() const {
    const qreal ratio = devicePixelRatioF();
    return {ratio, (QSizeF(size()) * ratio).toSize(), m_lineHeight * ratio};
}

QSize CreditsPicture::deviceSize() const {
    return device().size;
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
    painter.drawImage(FromTwips(twips), picture);
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
    m_background = image();
    m_text.reset(deviceSize());
    m_textIsEmpty = true;
    m_backgroundIsPicture = false;
    m_printed.reset();
}

void CreditsPicture::PrintLines(double topTwips, const QStringList& lines) {
    const Device pixels = device();
    if (m_text.size() != pixels.size)
        Cls();
    const bool alone = m_textIsEmpty && m_backgroundIsPicture;
    const int row = DeviceRow(topTwips, pixels.ratio);
    drawLines(pixels, {0, pixels.size.height()}, row, lines);
    m_textIsEmpty = false;
    if (alone)
        m_printed = PrintedLines{row, lines};
    else
        m_printed.reset();
    update();
}

void CreditsPicture::ShowLinesAt(double topTwips, const QStringList& lines) {
    const Device pixels = device();
    const int row = DeviceRow(topTwips, pixels.ratio);
    const bool shown = m_printed && m_printed->lines.constData() == lines.constData() &&
                       m_text.size() == pixels.size;
    const int shift = shown ? row - m_printed->row : 0;
    if (!shown || std::abs(shift) >= pixels.size.height()) {
        Cls();
        PrintLines(topTwips, lines);
        return;
    }
    if (shift == 0)
        return;
    m_printed->row = row;
    showMoved(pixels, m_text.scroll(shift, [&](ScrollingLayer::Rows rows) {
        drawLines(pixels, rows, row, m_printed->lines);
    }));
}

void CreditsPicture::showMoved(const Device& pixels, const QRegion& changed) {
    const QRegion left =
        m_screen ? m_screen->show(m_background, m_text, changed, pixels.ratio) : changed;
    QRegion repaint;
    for (const QRect& rect : left) {
        repaint +=
            QRectF(QPointF(rect.topLeft()) / pixels.ratio, QSizeF(rect.size()) / pixels.ratio)
                .toAlignedRect();
    }
    update(repaint);
}

CreditsPicture::LineRange CreditsPicture::linesReaching(const Device& pixels,
                                                        ScrollingLayer::Rows rows, int row,
                                                        qsizetype count) {
    const double rowsPerLine = pixels.rowsPerLine;
    if (!(rowsPerLine > 0))
        return {0, 0};
    const auto clamped = [count](double line) {
        return static_cast<qsizetype>(std::clamp(line, 0.0, static_cast<double>(count)));
    };
    return {clamped(std::floor((rows.first - row) / rowsPerLine) - 1),
            clamped(std::ceil((rows.past - row) / rowsPerLine) + 1)};
}

// Line i stands at device row (row + i × line height), a fraction of a row included.
void CreditsPicture::drawLines(const Device& pixels, ScrollingLayer::Rows rows, int row,
                               const QStringList& lines) {
    if (m_lineImagesOf.constData() != lines.constData() || m_lineImagesRatio != pixels.ratio) {
        m_lineImages.clear();
        m_lineImagesOf = lines;
        m_lineImagesRatio = pixels.ratio;
    }
    const LineRange drawn = linesReaching(pixels, rows, row, lines.size());
    m_lineImages.removeIf(
        [drawn](const auto& line) { return line.key() < drawn.first || line.key() >= drawn.past; });
    for (qsizetype index = drawn.first; index < drawn.past; ++index) {
        const double top = static_cast<double>(index) * pixels.rowsPerLine;
        const LineImage& line = lineImage(pixels, lines[index], index, top - std::floor(top));
        if (!line.pixels.isNull())
            m_text.drawImage(line.offset + QPoint(0, row + static_cast<int>(std::floor(top))),
                             line.pixels, rows);
    }
}

// The line's ink in device pixels, drawn with its top the fraction of a row below a row; the
// offset leads from the start of that row to the ink.
const CreditsPicture::LineImage& CreditsPicture::lineImage(const Device& device,
                                                           const QString& line, qsizetype index,
                                                           double fraction) {
    auto known = m_lineImages.find(index);
    if (known != m_lineImages.end())
        return *known;
    if (line.trimmed().isEmpty())
        return *m_lineImages.insert(index, LineImage{});
    const double height = device.rowsPerLine;
    const int overhang = static_cast<int>(std::ceil(height / 2)); // ink beyond the line's height
    const double width =
        (QFontMetricsF(font()).horizontalAdvance(line) + m_lineHeight) * device.ratio;
    QImage pixels(std::min(static_cast<int>(std::ceil(width)), device.size.width()),
                  static_cast<int>(std::ceil(height)) + 1 + 2 * overhang,
                  QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    {
        QPainter painter(&pixels);
        painter.translate(0, overhang + fraction);
        painter.scale(device.ratio, device.ratio);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        QStaticText text(line);
        text.setTextFormat(Qt::PlainText);
        painter.drawStaticText(QPointF(0, 0), text);
    }
    const QRect ink = inkBounds(pixels);
    LineImage image;
    if (!ink.isEmpty())
        image = LineImage{pixels.copy(ink), ink.topLeft() - QPoint(0, overhang)};
    return *m_lineImages.insert(index, image);
}

QImage CreditsPicture::image() const {
    QImage shown = m_background.copy();
    if (!shown.isNull() && !m_textIsEmpty) {
        QPainter painter(&shown);
        m_text.drawOnto(painter, shown.rect(), 1.0);
    }
    return shown;
}

void CreditsPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const bool backgroundFits = m_background.size() == deviceSize();
    for (const QRect& rect : event->region()) {
        const QRect device = DeviceRect(rect, ratio);
        if (!backgroundFits)
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
    if (event->type() == QEvent::FontChange) {
        m_measurer = FontMeasurer(font());
        m_lineHeight = QFontMetricsF(font()).height();
    }
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        m_lineImages.clear();
        m_printed.reset();
    }
    QWidget::changeEvent(event);
}
