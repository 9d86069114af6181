#include "credits/scrolling_layer.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

template <typename Span> Span unite(const Span& a, const Span& b) {
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return {std::min(a.left, b.left), std::max(a.right, b.right)};
}

} // namespace

void ScrollingLayer::reset(QSize deviceSize) {
    if (m_image.size() != deviceSize)
        m_image = QImage(deviceSize, QImage::Format_ARGB32_Premultiplied);
    m_image.fill(Qt::transparent);
    m_top = 0;
    m_ink.assign(static_cast<size_t>(std::max(deviceSize.height(), 0)), Span{});
}

int ScrollingLayer::ringRow(int boxRow) const {
    const int row = boxRow + m_top;
    return row < m_image.height() ? row : row - m_image.height();
}

template <typename Visit> void ScrollingLayer::forEachStretch(Rows rows, Visit visit) const {
    rows.first = std::max(rows.first, 0);
    rows.past = std::min(rows.past, m_image.height());
    const int wrap = m_image.height() - m_top; // the box row that lies in the ring's first row
    if (rows.first < std::min(rows.past, wrap))
        visit(rows.first, rows.first + m_top, std::min(rows.past, wrap) - rows.first);
    const int first = std::max(rows.first, wrap);
    if (first < rows.past)
        visit(first, first - wrap, rows.past - first);
}

void ScrollingLayer::paint(Rows rows, const PaintRows& paintRows) {
    forEachStretch(rows, [&](int boxFirst, int ringFirst, int count) {
        {
            QPainter painter(&m_image);
            painter.setClipRect(0, ringFirst, m_image.width(), count);
            painter.translate(0, ringFirst - boxFirst);
            paintRows(painter, Rows{boxFirst, boxFirst + count});
        }
        for (int row = ringFirst; row < ringFirst + count; ++row)
            measureInk(row);
    });
}

QRegion ScrollingLayer::scroll(int rows, const PaintRows& paintRows) {
    const int height = m_image.height();
    if (height == 0 || rows == 0)
        return {};
    const std::vector<Span> before = boxSpans();
    m_top = ((m_top - rows) % height + height) % height;
    const Rows exposed =
        rows < 0 ? Rows{std::max(height + rows, 0), height} : Rows{0, std::min(rows, height)};
    clear(exposed);
    paint(exposed, paintRows);

    // Each run of rows whose text was or is inked becomes one rectangle, as wide as the run.
    QRegion changed;
    int runFirst = -1;
    Span runSpan;
    for (int row = 0; row <= height; ++row) {
        const Span span = row < height ? unite(before[row], m_ink[ringRow(row)]) : Span{};
        if (!span.isEmpty()) {
            runSpan = runFirst < 0 ? span : unite(runSpan, span);
            runFirst = runFirst < 0 ? row : runFirst;
        } else if (runFirst >= 0) {
            changed += QRect(runSpan.left, runFirst, runSpan.right - runSpan.left, row - runFirst);
            runFirst = -1;
        }
    }
    return changed;
}

void ScrollingLayer::drawOnto(QPainter& painter, const QRect& deviceRect,
                              qreal devicePixelRatio) const {
    forEachStretch(Rows{deviceRect.top(), deviceRect.bottom() + 1}, [&](int boxFirst, int ringFirst,
                                                                        int count) {
        const QRectF target(deviceRect.left() / devicePixelRatio, boxFirst / devicePixelRatio,
                            deviceRect.width() / devicePixelRatio, count / devicePixelRatio);
        painter.drawImage(target, m_image,
                          QRect(deviceRect.left(), ringFirst, deviceRect.width(), count));
    });
}

void ScrollingLayer::clear(Rows rows) {
    forEachStretch(rows, [this](int, int ringFirst, int count) {
        for (int row = ringFirst; row < ringFirst + count; ++row) {
            std::memset(m_image.scanLine(row), 0, static_cast<size_t>(m_image.bytesPerLine()));
            m_ink[static_cast<size_t>(row)] = Span{};
        }
    });
}

void ScrollingLayer::measureInk(int ringRow) {
    const auto* pixels = reinterpret_cast<const QRgb*>(m_image.constScanLine(ringRow));
    int left = 0;
    int right = m_image.width();
    while (left < right && pixels[left] == 0)
        ++left;
    while (right > left && pixels[right - 1] == 0)
        --right;
    m_ink[static_cast<size_t>(ringRow)] = Span{left, right};
}

std::vector<ScrollingLayer::Span> ScrollingLayer::boxSpans() const {
    std::vector<Span> spans(m_ink.size());
    for (int row = 0; row < m_image.height(); ++row)
        spans[static_cast<size_t>(row)] = m_ink[static_cast<size_t>(ringRow(row))];
    return spans;
}
