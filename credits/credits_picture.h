#pragma once

#include "resources/fonts.h"

#include <QImage>
#include <QWidget>

#include <optional>

// The font of the credits: MS Sans Serif 12 pt, measured and drawn without kerning, so that
// widths add up character by character as the credits layout expects.
QFont CreditsFont();

// The picture box the credits scroll in. It draws into a persistent off-screen image, which it
// shows on every repaint; its picture is the background that clearing restores. Positions and
// sizes of its drawing operations are in twips.
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

    void removePicture();
    // Clears the image to the picture, or to the back colour where there is none.
    void Cls();
    // Draws the picture scaled into the rectangle; a null picture draws nothing.
    void PaintPicture(const QImage& picture, const QRectF& twips);
    // The image drawn so far becomes the picture.
    void keepImageAsPicture();
    // Prints the lines one below the other from the top position on, each from the left edge;
    // only the lines that reach into the box are drawn. The text stands on whole pixel rows:
    // the top position is taken down to the pixel row it falls in.
    void PrintLines(double topTwips, const QStringList& lines);
    // Whether clearing and printing these lines at this position would change no pixel of the
    // image, as it shows them there already.
    bool showsLines(double topTwips, const QStringList& lines) const;

    const QImage& image() const { return m_image; }
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

    void forgetPrintedLines() { m_printed.reset(); }

    FontMeasurer m_measurer;
    QImage m_image;
    QImage m_picture;
    std::optional<PrintedLines> m_printed;
};
