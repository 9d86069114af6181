#pragma once

#include "credits/credits_screen.h"
#include "credits/scrolling_layer.h"
#include "resources/fonts.h"

#include <QHash>
#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

// The font of the credits: MS Sans Serif 12 pt, measured and drawn without kerning, so that
// widths add up character by character as the credits layout expects.
QFont CreditsFont();

// The picture box the credits scroll in. It draws into a persistent image, which it shows on
// every repaint; its picture is the background that clearing restores. Positions and sizes of
// its drawing operations are in twips; the image is held in device pixels, as two layers: the
// background (cleared to the picture, drawn on by PaintPicture) and the printed text above it.
// Moving printed lines to another row moves the text layer's pixels, draws only the rows that
// come into view and shows only the rows where text was or is now: through the platform's
// screen for moved credits where there is one (X11), else by a repaint.
class CreditsPicture : public QWidget {
    Q_OBJECT

public:
    explicit CreditsPicture(QWidget* parent = nullptr);
    ~CreditsPicture() override;

    // Replaces the screen that shows moves; none repaints them through Qt.
    void setScreen(std::unique_ptr<CreditsScreen> screen);

    // Inner size in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    // TextWidth in the box's font, twips.
    const TextMeasurer& measurer() const { return m_measurer; }
    // Height of one printed line, twips.
    double lineHeight() const;

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

    // The widget's device pixels, read once for each drawing.
    struct Device {
        qreal ratio;
        QSize size;
        double rowsPerLine;
    };
    Device device() const;
    QSize deviceSize() const;
    // Shows the changed device pixels of a move.
    void showMoved(const Device& pixels, const QRegion& changed);
    // Puts the printed text into the background, so that drawing goes on above it.
    void flattenText();
    struct LineRange {
        qsizetype first;
        qsizetype past;
    };
    // The lines printed from the row on whose place reaches into the rows, and one more on
    // either side for ink that overhangs its line.
    static LineRange linesReaching(const Device& pixels, ScrollingLayer::Rows rows, int row,
                                   qsizetype count);
    void drawLines(const Device& pixels, ScrollingLayer::Rows rows, int row,
                   const QStringList& lines);
    // A line's ink in device pixels, and where it lies from the start of the line's row.
    struct LineImage {
        QImage pixels; // null for a line without ink
        QPoint offset;
    };
    // The line drawn once into an image; kept while it reaches into the rows drawn, so that a
    // move copies pixel rows instead of drawing text.
    const LineImage& lineImage(const Device& device, const QString& line, qsizetype index,
                               double fraction);

    FontMeasurer m_measurer;
    double m_lineHeight; // pixels
    QImage m_background;
    QImage m_picture;
    ScrollingLayer m_text;
    bool m_textIsEmpty = true;
    bool m_backgroundIsPicture = false;
    // The lines the text layer holds, alone and over the cleared background.
    std::optional<PrintedLines> m_printed;
    QStringList m_lineImagesOf;
    qreal m_lineImagesRatio = 0;
    QHash<qsizetype, LineImage> m_lineImages;
    std::unique_ptr<CreditsScreen> m_screen;
};
