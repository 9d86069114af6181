#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QPainter;

// The pictures of the program, each at the size in pixels that the windows expect times the
// scale: 1 for ordinary screens, 2 for the "@2x" pictures of screens with twice the pixels.

enum class FaceStyle {
    Pearl, // cool, lit from the top
    Ivory, // warm, domed
};

// A key face: the key's own square at the top, the pressed key below; the two views share
// the rows where they overlap.
QImage KeyFace(FaceStyle style, QSize size, int scale);
QImage MainWindowBackground(int scale);
QImage CalculateButtonPicture(int scale);
// The toolbar pictures and the window icon are designed on a square of this many pixels.
constexpr int IconSize = 32;

// The window icon's design, painted into the square (0, 0, IconSize, IconSize).
void PaintWindowIcon(QPainter& painter);
QImage WindowIcon(int scale);
// The window icon's design for the desktop: a picture of the given size, and a scalable SVG
// document with the given title.
QImage ApplicationIcon(int size);
QByteArray ApplicationIconSvg(const QString& title);
// Toolbar pictures 1 to 9 on a transparent background.
QImage ToolbarPicture(int number, int scale);
QImage TitlePicture(int scale);
QImage LogoPicture(int scale);
// The credits of the info box, lines separated by "\n".
QString CreditsText();
