// Paints every picture of the program and the credits text into the resources folder given
// as the only argument: images/ for the compiled-in pictures, files/ for those beside the
// program.

#include "calc/windows1252.h"
#include "tools/artwork/artwork.h"
#include "tools/artwork/gif_writer.h"
#include "tools/artwork/ico_writer.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

#include <cstdio>

namespace {

const QRgb MaskColour = qRgb(192, 192, 192);
constexpr int JpegQuality = 95;
constexpr int ToolbarPictures = 9;
constexpr int GifPicture = 3;

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeJpeg(const QString& path, const QImage& image) {
    return image.save(path, "JPEG", JpegQuality);
}

QByteArray crlfWindows1252(QString text) {
    return EncodeWindows1252(text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

bool writeImages(const QDir& folder) {
    bool ok = writeJpeg(folder.filePath("background.jpg"), MainWindowBackground()) &&
              writeJpeg(folder.filePath("face_a.jpg"), KeyFace(FaceStyle::Pearl, {33, 60})) &&
              writeJpeg(folder.filePath("face_b.jpg"), KeyFace(FaceStyle::Ivory, {33, 60})) &&
              writeJpeg(folder.filePath("face_c.jpg"), KeyFace(FaceStyle::Ivory, {76, 60})) &&
              writeJpeg(folder.filePath("command1.jpg"), CalculateButtonPicture()) &&
              writeJpeg(folder.filePath("title.jpg"), TitlePicture()) &&
              writeBytes(folder.filePath("zifferon.ico"),
                         EncodeIco(ToSixteenColours(WindowIcon(), MaskColour)));
    for (int number = 1; number <= ToolbarPictures && ok; ++number) {
        const IndexedImage picture = ToSixteenColours(ToolbarPicture(number), MaskColour);
        const QString name = QStringLiteral("imagelist2_%1.").arg(number);
        ok = number == GifPicture ? writeBytes(folder.filePath(name + "gif"), EncodeGif(picture))
                                  : writeBytes(folder.filePath(name + "ico"), EncodeIco(picture));
    }
    return ok;
}

bool writeFiles(const QDir& folder) {
    return writeJpeg(folder.filePath("1_logo_1.jpg"), LogoPicture()) &&
           writeBytes(folder.filePath("Tiska.dpi"), crlfWindows1252(CreditsText()));
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
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: zifferon-artwork <resources folder>\n");
        return 2;
    }
    loadFonts();
    const QDir resources(arguments.at(1));
    if (!resources.mkpath(QStringLiteral("images")) || !resources.mkpath(QStringLiteral("files")) ||
        !writeImages(QDir(resources.filePath("images"))) ||
        !writeFiles(QDir(resources.filePath("files")))) {
        std::fprintf(stderr, "zifferon-artwork: cannot write into %s\n",
                     qPrintable(resources.absolutePath()));
        return 1;
    }
    return 0;
}
