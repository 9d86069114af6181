#pragma once

#include "credits/scrolling_layer.h"
#include "resources/fonts.h"

#include <QHash>
#include <QImage>
#include <QStaticText>
#include <QWidget>

#include <optional>

// The font of the credits: MS Sans Serif 12 pt, measured and drawn without kerning, so that
// widths add up character by character as the credits layout expects.
QFont CreditsFont();

// The picture box the credits scroll in. It draws into a persistent image, which it shows on
// every repaint; its picture is the background that clearing restores. Positions and sizes of
// its drawing operations are in twips; the image is held in device pixels, as two layers: the
// background (cleared to the picture, drawn on by PaintPicture) and the printed text above it.
// Moving printed lines to another row moves the text layer's pixels, draws only the rows that
// come into view and repaints only the rows where text was or is now.
class CreditsPicture : public QWidget {
    Q_OBJECT

public:
    explicit CreditsPicture(QWidget* parent = nullptr);

    // Inner size in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    // TextWidth in the box's font, twips.
    const TextMeasurer& measurer() const { return m_measurer; }
    // Height of one printed line, twips.
    double lineHeight() const;
    // The row of device pixels a position in twips falls in; a device pixel is 15 twips
    // divided by the device pixel ratio.
    int deviceRow(double twips) const;

    void removePicture();
    // Clears the image to the picture, or to the back colour where there is none.
    void Cls();
    // Draws the picture scaled into the rectangle; a null picture draws nothing.
    void PaintPicture(const QImage& picture, const QRectF& twips);
    // The image drawn so far becomes the picture.
    void keepImageAsPicture();
    // Prints the lines one below the other from the top position on, each from the left edge;
    // lines that reach into the box are drawn. The text stands on whole device pixel rows: the
    // top position is taken down to the row it falls in.
    void PrintLines(double topTwips, const QStringList& lines);
    // Shows the lines from the top position on, as clearing and printing them would. Where the
    // box shows these lines at another row, their pixels are moved instead.
    void ShowLinesAt(double topTwips, const QStringList& lines);

    // The finished image, in device pixels.
    QImage image() const;
    // The picture, in device pixels.
    const QImage& picture() const { return m_picture; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct PrintedLines {
        int row;
        QStringList lines;
    };

    QSize deviceSize() const;
    QRect toDevice(const QRect& logical) const;
    QRect toLogical(const QRect& device) const;
    QImage composite() const;
    // Puts the printed text into the background, so that drawing goes on above it.
    void flattenText();
    struct LineRange {
        qsizetype first;
        qsizetype past;
    };
    // The lines printed from the row on whose place reaches into the rows, and one more on
    // either side for ink that overhangs its line.
    LineRange linesReaching(ScrollingLayer::Rows rows, int row, qsizetype count) const;
    void drawLines(QPainter& painter, ScrollingLayer::Rows rows, int row, const QStringList& lines);
    // The line laid out for drawing; kept while it is in view, so that ticks shape no text.
    const QStaticText& laidOut(const QStringList& lines, qsizetype index, LineRange inView);

    FontMeasurer m_measurer;
    QImage m_background;
    QImage m_picture;
    ScrollingLayer m_text;
    bool m_textIsEmpty = true;
    bool m_backgroundIsPicture = false;
    // The lines the text layer holds, alone and over the cleared background.
    std::optional<PrintedLines> m_printed;
    QStringList m_laidOutLines;
    QHash<qsizetype, QStaticText> m_laidOut;
};
