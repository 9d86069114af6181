#include "credits/scrolling_layer.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <optional>

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
    m_drawn.assign(m_ink.size(), true);
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

void ScrollingLayer::drawImage(QPoint boxTopLeft, const QImage& image, Rows rows) {
    const int first = std::max({rows.first, boxTopLeft.y(), 0});
    const int past = std::min({rows.past, boxTopLeft.y() + image.height(), m_image.height()});
    const int left = std::max(boxTopLeft.x(), 0);
    const int right = std::min(boxTopLeft.x() + image.width(), m_image.width());
    if (first >= past || left >= right)
        return;
    const int sourceLeft = left - boxTopLeft.x();
    std::optional<QPainter> blending; // for rows that hold ink already
    for (int boxRow = first; boxRow < past; ++boxRow) {
        const int ring = ringRow(boxRow);
        const int sourceRow = boxRow - boxTopLeft.y();
        if (m_ink[static_cast<size_t>(ring)].isEmpty()) {
            // Over transparent pixels, premultiplied pixels stay as they are.
            std::memcpy(reinterpret_cast<QRgb*>(m_image.scanLine(ring)) + left,
                        reinterpret_cast<const QRgb*>(image.constScanLine(sourceRow)) + sourceLeft,
                        static_cast<size_t>(right - left) * sizeof(QRgb));
        } else {
            if (!blending)
                blending.emplace(&m_image);
            blending->drawImage(QPoint(left, ring), image,
                                QRect(sourceLeft, sourceRow, right - left, 1));
        }
        measureInk(ring);
        markDrawn(ring);
    }
}

QRegion ScrollingLayer::scroll(int rows, const DrawRows& drawRows) {
    const int height = m_image.height();
    if (height == 0 || rows == 0)
        return {};
    const int oldTop = m_top;
    m_top = ((m_top - rows) % height + height) % height;
    const Rows exposed =
        rows < 0 ? Rows{std::max(height + rows, 0), height} : Rows{0, std::min(rows, height)};
    // The ring rows that come into view held rows that left it: keep where those had ink.
    m_leavingInk.clear();
    for (int row = exposed.first; row < exposed.past; ++row)
        m_leavingInk.push_back(m_ink[static_cast<size_t>(ringRow(row))]);
    clear(exposed);
    drawRows(exposed);
    return changedSince(oldTop, exposed);
}

QRegion ScrollingLayer::changedSince(int oldTop, Rows exposed) {
    const int height = m_image.height();
    // Where box row r had ink before the move: in ring row r + oldTop, unless that row has been
    // drawn anew since.
    const auto inkBefore = [&](int row) {
        const int ring = (row + oldTop) % height;
        const int nowBoxRow = (ring - m_top + height) % height;
        const bool redrawn = nowBoxRow >= exposed.first && nowBoxRow < exposed.past;
        return redrawn ? m_leavingInk[static_cast<size_t>(nowBoxRow - exposed.first)]
                       : m_ink[static_cast<size_t>(ring)];
    };
    // Each run of rows whose text was or is inked becomes one rectangle, as wide as the run.
    m_changedRects.clear();
    int runFirst = -1;
    Span runSpan;
    for (int row = 0; row <= height; ++row) {
        const Span span =
            row < height ? unite(inkBefore(row), m_ink[static_cast<size_t>(ringRow(row))]) : Span{};
        if (!span.isEmpty()) {
            runSpan = runFirst < 0 ? span : unite(runSpan, span);
            runFirst = runFirst < 0 ? row : runFirst;
        } else if (runFirst >= 0) {
            m_changedRects.emplace_back(runSpan.left, runFirst, runSpan.right - runSpan.left,
                                        row - runFirst);
            runFirst = -1;
        }
    }
    // One rectangle a band of rows, top to bottom: the order a region keeps its rectangles in.
    QRegion changed;
    changed.setRects(m_changedRects.data(), static_cast<int>(m_changedRects.size()));
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
            markDrawn(row);
        }
    });
}

ScrollingLayer::Span ScrollingLayer::inkOf(const QRgb* row, int width) {
    int left = 0;
    int right = width;
    while (left < right && row[left] == 0)
        ++left;
    while (right > left && row[right - 1] == 0)
        --right;
    return {left, right};
}

void ScrollingLayer::measureInk(int ringRow) {
    m_ink[static_cast<size_t>(ringRow)] =
        inkOf(reinterpret_cast<const QRgb*>(m_image.constScanLine(ringRow)), m_image.width());
}

void ScrollingLayer::markDrawn(int ringRow) {
    m_drawn[static_cast<size_t>(ringRow)] = true;
}

void ScrollingLayer::takeDrawnRingRows(const std::function<void(Rows)>& take) {
    const int height = m_image.height();
    int runFirst = -1;
    for (int row = 0; row <= height; ++row) {
        const bool drawn = row < height && m_drawn[static_cast<size_t>(row)];
        if (drawn && runFirst < 0)
            runFirst = row;
        if (!drawn && runFirst >= 0) {
            std::fill(m_drawn.begin() + runFirst, m_drawn.begin() + row, false);
            take(Rows{runFirst, row});
            runFirst = -1;
        }
    }
}
