#pragma once

#include <QImage>
#include <QRegion>

#include <functional>
#include <vector>

class QPainter;

// Transparent pixel rows that hold printed text above a background, in device pixels. The rows
// form a ring: moving the text up or down moves where the first row of the box starts instead
// of moving pixels, so a move costs only the rows that come into view. Text comes in as images
// (premultiplied ARGB32), drawn over what the rows hold; a row without ink takes the image's
// pixels as they are. For every row the layer knows the columns its ink covers, so that a move
// repaints only where text was or is now.
class ScrollingLayer {
public:
    // Box rows from first up to past.
    struct Rows {
        int first;
        int past;
    };
    // Draws what belongs into the given box rows (with drawImage).
    using DrawRows = std::function<void(Rows)>;
    // Columns from left up to right; empty when left >= right.
    struct Span {
        int left = 0;
        int right = 0;
        bool isEmpty() const { return left >= right; }
    };

    // The columns of a row of pixels from its first to its last one that is not fully
    // transparent.
    static Span inkOf(const QRgb* row, int width);

    // A transparent layer of the given size, its first row at the top.
    void reset(QSize deviceSize);
    QSize size() const { return m_image.size(); }

    // Draws the image with its top left corner at the box's device pixel, within the rows.
    void drawImage(QPoint boxTopLeft, const QImage& image, Rows rows);
    // Moves the content down by the given rows (up when negative), then clears and draws the
    // rows that come into view. Returns the box pixels that changed.
    QRegion scroll(int rows, const DrawRows& drawRows);

    // Draws the box rows of the device rectangle at target, scaled by 1 / devicePixelRatio.
    void drawOnto(QPainter& painter, const QRect& deviceRect, qreal devicePixelRatio) const;

    // The ring itself, and the ring row that holds the box's first row: box row r lies in ring
    // row (r + ringTop()) modulo the height.
    const QImage& ring() const { return m_image; }
    int ringTop() const { return m_top; }
    // Hands over each run of ring rows drawn since the last call (all of them after a reset),
    // and forgets them.
    void takeDrawnRingRows(const std::function<void(Rows)>& take);

private:
    int ringRow(int boxRow) const;
    // Calls visit(boxFirst, ringFirst, count) for each stretch of the box rows that lies
    // unbroken in the ring.
    template <typename Visit> void forEachStretch(Rows rows, Visit visit) const;
    void clear(Rows rows);
    void measureInk(int ringRow);
    void markDrawn(int ringRow);
    // The box pixels where text was before the ring's top moved from oldTop, or is now.
    QRegion changedSince(int oldTop, Rows exposed);

    QImage m_image;
    int m_top = 0;             // ring row of the box's first row
    std::vector<Span> m_ink;   // per ring row
    std::vector<bool> m_drawn; // per ring row: drawn since takeDrawnRingRows
    // Kept between moves so that a move allocates nothing.
    std::vector<Span> m_leavingInk; // per box row that comes into view: its ink before
    std::vector<QRect> m_changedRects;
};
