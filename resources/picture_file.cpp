#include "resources/picture_file.h"

#include "calc/module1.h"
#include "files/file_access.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace {

QString tooLargeReason(QSize size) {
    return QStringLiteral("Das Bild ist mit %1 × %2 Bildpunkten zu groß; erlaubt sind höchstens "
                          "%3 Bildpunkte.")
        .arg(GermanCount(size.width()), GermanCount(size.height()), GermanCount(MaxPicturePixels));
}

// The raster formats a picture from outside may have; anything else (SVG above all, which can
// make a small file expand without bound) is never decoded.
bool allowedFormat(const QByteArray& format) {
    static const QList<QByteArray> Allowed{"jpeg", "gif", "png", "ico"};
    return Allowed.contains(format);
}

bool tooLarge(QSize size) {
    return qint64{size.width()} * qint64{size.height()} > MaxPicturePixels;
}

} // namespace

QString DoubleSizePath(const QString& path) {
    const QFileInfo file(path);
    return path.chopped(file.fileName().size()) + file.completeBaseName() + QStringLiteral("@2x.") +
           file.suffix();
}

std::variant<QImage, Failure> LoadPictureFile(const QString& path) {
    std::variant<QByteArray, Failure> read =
        ReadRegularFile(path, MaxPictureFileBytes, Oversize::Refuse);
    if (const auto* failure = std::get_if<Failure>(&read))
        return *failure;
    QBuffer buffer(&std::get<QByteArray>(read));
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (!allowedFormat(format))
        return Failure(
            QStringLiteral("Die Datei ist kein Bild im Format JPEG, GIF, PNG oder ICO."));
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    const QSize declared = reader.size();
    if (declared.isValid() && tooLarge(declared))
        return Failure(tooLargeReason(declared));
    QImage picture = reader.read();
    if (picture.isNull())
        return Failure(QStringLiteral("Die Datei ist kein lesbares Bild."));
    return picture;
}
