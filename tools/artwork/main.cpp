// Paints the program's pictures into a folder, in one of two sets:
//   zifferon-artwork <resources folder>
//     the pictures compiled into the program (images/) and the two files that lie beside it
//     (files/); run by hand, the results are committed;
//   zifferon-artwork --application-icons <folder> <application id>
//     the icons that menus and launchers show, in the hicolor theme's layout; run by the build.

#include "files/windows1252.h"
#include "resources/picture_file.h"
#include "tools/artwork/artwork.h"
#include "tools/artwork/gif_writer.h"
#include "tools/artwork/ico_writer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QRgb MaskColour = qRgb(192, 192, 192);
constexpr int JpegQuality = 95;
constexpr int ToolbarPictures = 9;
constexpr int GifPicture = 3;
const QList<int> ApplicationIconSizes{16, 24, 32, 48, 64, 128, 256};

// One file of a set: its path below the set's folder and how its bytes are made.
struct OutputFile {
    QString path;
    std::function<QByteArray()> bytes;
};
using OutputFiles = std::vector<OutputFile>;

QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QByteArray jpeg(const QImage& image) {
    return encoded(image, "JPEG", JpegQuality);
}

QByteArray png(const QImage& image) {
    return encoded(image, "PNG");
}

QByteArray sixteenColourIco(const QImage& image) {
    return EncodeIco(ToSixteenColours(image, MaskColour));
}

QByteArray sixteenColourGif(const QImage& image) {
    return EncodeGif(ToSixteenColours(image, MaskColour));
}

using Encoder = QByteArray (*)(const QImage&);
// Paints a picture at a scale: 1 for its own size, 2 for twice that.
using ScaledPainter = std::function<QImage(int scale)>;

// A picture file: what it shows, painted when the file is written, in the encoder's format.
OutputFile picture(QString path, Encoder encode, std::function<QImage()> paint) {
    return {std::move(path), [encode, paint = std::move(paint)] { return encode(paint()); }};
}

// The picture at its own size and, beside it as "@2x", the same design at twice the size for
// screens with twice the pixels.
void addPicture(OutputFiles& files, const QString& path, Encoder encode, ScaledPainter paint) {
    files.push_back(picture(path, encode, [paint] { return paint(1); }));
    files.push_back(picture(DoubleSizePath(path), encode, [paint] { return paint(2); }));
}

ScaledPainter keyFace(FaceStyle style, QSize size) {
    return [style, size](int scale) { return KeyFace(style, size, scale); };
}

QByteArray crlfWindows1252(QString text) {
    return EncodeWindows1252(text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

OutputFiles resourceFiles() {
    OutputFiles files;
    addPicture(files, "images/background.jpg", jpeg, MainWindowBackground);
    addPicture(files, "images/face_a.jpg", jpeg, keyFace(FaceStyle::Pearl, {33, 60}));
    addPicture(files, "images/face_b.jpg", jpeg, keyFace(FaceStyle::Ivory, {33, 60}));
    addPicture(files, "images/face_c.jpg", jpeg, keyFace(FaceStyle::Ivory, {76, 60}));
    addPicture(files, "images/command1.jpg", jpeg, CalculateButtonPicture);
    addPicture(files, "images/title.jpg", jpeg, TitlePicture);
    addPicture(files, "images/zifferon.ico", sixteenColourIco, WindowIcon);
    for (int number = 1; number <= ToolbarPictures; ++number) {
        const QString name = QStringLiteral("images/imagelist2_%1.").arg(number);
        const auto paint = [number](int scale) { return ToolbarPicture(number, scale); };
        if (number == GifPicture)
            addPicture(files, name + "gif", sixteenColourGif, paint);
        else
            addPicture(files, name + "ico", sixteenColourIco, paint);
    }
    addPicture(files, "files/1_logo_1.jpg", jpeg, LogoPicture);
    files.push_back({"files/Tiska.dpi", [] { return crlfWindows1252(CreditsText()); }});
    return files;
}

OutputFiles applicationIconFiles(const QString& applicationId) {
    OutputFiles files;
    for (int size : ApplicationIconSizes)
        files.push_back(
            picture(QStringLiteral("hicolor/%1x%1/apps/%2.png").arg(size).arg(applicationId), png,
                    [size] { return ApplicationIcon(size); }));
    files.push_back({QStringLiteral("hicolor/scalable/apps/%1.svg").arg(applicationId),
                     [] { return ApplicationIconSvg(QStringLiteral("Zifferon")); }});
    return files;
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeAll(const QDir& folder, const OutputFiles& files) {
    for (const OutputFile& file : files) {
        const QString path = folder.filePath(file.path);
        if (!folder.mkpath(QFileInfo(path).path()) || !writeBytes(path, file.bytes())) {
            std::fprintf(stderr, "zifferon-artwork: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

void loadFonts() {
    const QDir fonts(QStringLiteral("/usr/share/fonts/truetype/liberation"));
    for (const char* file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"})
        QFontDatabase::addApplicationFont(fonts.filePath(QLatin1String(file)));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    loadFonts();
    if (arguments.size() == 2 && !arguments.at(1).startsWith(u'-'))
        return writeAll(QDir(arguments.at(1)), resourceFiles()) ? 0 : 1;
    if (arguments.size() == 4 && arguments.at(1) == QStringLiteral("--application-icons"))
        return writeAll(QDir(arguments.at(2)), applicationIconFiles(arguments.at(3))) ? 0 : 1;
    std::fprintf(stderr, "usage: zifferon-artwork <resources folder>\n"
                         "       zifferon-artwork --application-icons <folder> <application id>\n");
    return 2;
}
