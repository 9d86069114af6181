// Draws the pictures of the user manual into the folder given as the only argument.

#include "calc/twips.h"
#include "main_window/keypad_layout.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>

namespace {

constexpr int Scale = 2; // pixels of the picture per pixel of the window

QFont captionFont(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pointSize);
    font.setBold(bold);
    return font;
}

QRect keyRect(const keypad::Key& key, QPoint origin) {
    const auto pixels = [](int twips) { return twips * Scale / TwipsPerPixel; };
    const int size = pixels(keypad::KeySize);
    return {pixels(key.left) - origin.x(), pixels(key.top) - origin.y(), pixels(key.width), size};
}

// The keypad as the main window places it, each key in its colour with its caption.
QImage keypadPicture() {
    constexpr int Margin = 8;
    QRect bounds;
    for (const keypad::Key& key : keypad::Keys)
        bounds |= keyRect(key, {});
    const QPoint origin = bounds.topLeft() - QPoint(Margin, Margin);
    QImage image(bounds.size() + QSize(2 * Margin, 2 * Margin), QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(captionFont(15, true));
    for (const keypad::Key& key : keypad::Keys) {
        const QRect rect = keyRect(key, origin).adjusted(1, 1, -1, -1);
        painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
        painter.setBrush(QColor::fromRgb(key.backColour));
        painter.drawRoundedRect(rect, 4, 4);
        painter.setPen(Qt::black);
        painter.drawText(rect, Qt::AlignCenter, QString::fromUtf8(key.caption).remove(u'&'));
    }
    return image;
}

struct TapeRow {
    const char* formula;
    const char* result;
    const char* total;
};

// Three tape columns with their headings; the arrows show how a total comes about.
QImage tapePicture() {
    constexpr TapeRow Rows[] = {
        {"2+3", "5,00", "5,00"}, {"1.5*2", "3,00", "8,00"}, {"5/0", "", "8,00"}};
    constexpr const char* Headings[] = {"Eingabe", "Zeile", "Summe"};
    constexpr int ColumnWidth = 150;
    constexpr int Gap = 30;
    constexpr int RowHeight = 28;
    constexpr int Top = 40;
    constexpr int Left = 16;
    const int rows = static_cast<int>(std::size(Rows));
    QImage image(Left * 2 + 3 * ColumnWidth + 2 * Gap, Top + rows * RowHeight + 24,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto columnLeft = [](int column) { return Left + column * (ColumnWidth + Gap); };
    for (int column = 0; column < 3; ++column) {
        painter.setFont(captionFont(15, true));
        painter.setPen(Qt::black);
        painter.drawText(QRect(columnLeft(column), 8, ColumnWidth, 24), Qt::AlignLeft,
                         QString::fromLatin1(Headings[column]));
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(columnLeft(column), Top - 4, ColumnWidth, rows * RowHeight + 8);
    }
    painter.setFont(captionFont(15));
    for (int row = 0; row < rows; ++row) {
        const int y = Top + row * RowHeight;
        const char* texts[] = {Rows[row].formula, Rows[row].result, Rows[row].total};
        painter.setPen(Qt::black);
        for (int column = 0; column < 3; ++column)
            painter.drawText(QRect(columnLeft(column), y, ColumnWidth - 8, RowHeight),
                             Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(texts[column]));
        if (row == 0)
            continue;
        // The new total: the result beside it plus the total above it.
        painter.setPen(QPen(QColor(0xC0, 0x30, 0x30), 2));
        const int arrowEnd = columnLeft(2) + 30;
        painter.drawLine(columnLeft(1) + ColumnWidth - 4, y + RowHeight / 2, arrowEnd,
                         y + RowHeight / 2);
        painter.drawLine(columnLeft(2) + ColumnWidth - 60, y - RowHeight / 2 + 6,
                         columnLeft(2) + ColumnWidth - 60, y + 6);
        painter.drawText(QRect(columnLeft(1) + ColumnWidth, y - RowHeight, Gap, RowHeight),
                         Qt::AlignCenter, QStringLiteral("+"));
    }
    return image;
}

bool save(const QImage& image, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const bool saved = save(keypadPicture(), folder, QStringLiteral("tasten.png")) &&
                       save(tapePicture(), folder, QStringLiteral("streifen.png"));
    return saved ? 0 : 1;
}
