#pragma once

#include <QImage>
#include <QRegion>

#include <functional>
#include <vector>

class QPainter;

// Transparent pixel rows that hold printed text above a background, in device pixels. The rows
// form a ring: moving the text up or down moves where the first row of the box starts instead
// of moving pixels, so a move costs only the rows that come into view. For every row the layer
// knows the columns its ink covers, so that a move repaints only where text was or is now.
class ScrollingLayer {
public:
    // Box rows from first up to past.
    struct Rows {
        int first;
        int past;
    };
    // Draws the content of the given box rows; the painter maps box device pixels to the ring
    // and clips to those rows.
    using PaintRows = std::function<void(QPainter&, Rows)>;

    // A transparent layer of the given size, its first row at the top.
    void reset(QSize deviceSize);
    QSize size() const { return m_image.size(); }

    // Draws over the rows.
    void paint(Rows rows, const PaintRows& paintRows);
    // Moves the content down by the given rows (up when negative), then clears and draws the
    // rows that come into view. Returns the box pixels that changed.
    QRegion scroll(int rows, const PaintRows& paintRows);

    // Draws the box rows of the device rectangle at target, scaled by 1 / devicePixelRatio.
    void drawOnto(QPainter& painter, const QRect& deviceRect, qreal devicePixelRatio) const;

private:
    // Columns from left up to right that hold ink; empty when left >= right.
    struct Span {
        int left = 0;
        int right = 0;
        bool isEmpty() const { return left >= right; }
    };

    int ringRow(int boxRow) const;
    // Calls visit(boxFirst, ringFirst, count) for each stretch of the box rows that lies
    // unbroken in the ring.
    template <typename Visit> void forEachStretch(Rows rows, Visit visit) const;
    void clear(Rows rows);
    void measureInk(int ringRow);
    std::vector<Span> boxSpans() const;

    QImage m_image;
    int m_top = 0;           // ring row of the box's first row
    std::vector<Span> m_ink; // per ring row
};
