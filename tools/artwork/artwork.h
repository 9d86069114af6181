#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The pictures of the program, each at the pixel size the windows expect.

enum class FaceStyle {
    Pearl, // cool, lit from the top
    Ivory, // warm, domed
};

// A key face: the key's own square at the top, the pressed key below; the two views share
// the rows where they overlap.
QImage KeyFace(FaceStyle style, QSize size);
QImage MainWindowBackground();
QImage CalculateButtonPicture();
QImage WindowIcon();
// Toolbar pictures 1 to 9 on a transparent background.
QImage ToolbarPicture(int number);
QImage TitlePicture();
QImage LogoPicture();
// The credits of the info box, lines separated by "\n".
QString CreditsText();
