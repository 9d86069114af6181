#include "toolbar/docx_document.h"

#include "files/file_access.h"

#include <QXmlStreamWriter>

#include <zip.h>

#include <cerrno>
#include <cmath>
#include <utility>
#include <variant>
#include <vector>

namespace {

const QString WordNamespace =
    QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

constexpr char ContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" )"
    R"(ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/)"
    R"(vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/)"
    R"(vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(</Types>)";

constexpr char PackageRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/)"
    R"(relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

constexpr char DocumentRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/)"
    R"(relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

using Parts = std::vector<std::pair<const char*, QByteArray>>;

void writeParagraph(QXmlStreamWriter& xml, const QString& text) {
    xml.writeStartElement(WordNamespace, QStringLiteral("p"));
    if (!text.isEmpty()) {
        xml.writeStartElement(WordNamespace, QStringLiteral("r"));
        xml.writeStartElement(WordNamespace, QStringLiteral("t"));
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        xml.writeCharacters(text);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

// A4 portrait with margins of 2.5 cm, in twentieths of a point.
void writeSection(QXmlStreamWriter& xml) {
    xml.writeStartElement(WordNamespace, QStringLiteral("sectPr"));
    xml.writeEmptyElement(WordNamespace, QStringLiteral("pgSz"));
    xml.writeAttribute(WordNamespace, QStringLiteral("w"), QStringLiteral("11906"));
    xml.writeAttribute(WordNamespace, QStringLiteral("h"), QStringLiteral("16838"));
    xml.writeEmptyElement(WordNamespace, QStringLiteral("pgMar"));
    for (const char* side : {"top", "right", "bottom", "left"})
        xml.writeAttribute(WordNamespace, QLatin1String(side), QStringLiteral("1417"));
    xml.writeEndElement();
}

// Every run in the font, its size in half points.
void writeRunDefaults(QXmlStreamWriter& xml, const TextFont& font) {
    xml.writeStartElement(WordNamespace, QStringLiteral("rPrDefault"));
    xml.writeStartElement(WordNamespace, QStringLiteral("rPr"));
    xml.writeEmptyElement(WordNamespace, QStringLiteral("rFonts"));
    for (const char* script : {"ascii", "hAnsi", "eastAsia", "cs"})
        xml.writeAttribute(WordNamespace, QLatin1String(script), font.family);
    const QString halfPoints = QString::number(std::lround(font.points * 2));
    for (const char* size : {"sz", "szCs"}) {
        xml.writeEmptyElement(WordNamespace, QLatin1String(size));
        xml.writeAttribute(WordNamespace, QStringLiteral("val"), halfPoints);
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

// Every paragraph single spaced, nothing before or after it.
void writeParagraphDefaults(QXmlStreamWriter& xml) {
    xml.writeStartElement(WordNamespace, QStringLiteral("pPrDefault"));
    xml.writeStartElement(WordNamespace, QStringLiteral("pPr"));
    xml.writeEmptyElement(WordNamespace, QStringLiteral("spacing"));
    for (const auto& [name, value] :
         {std::pair{"before", "0"}, {"after", "0"}, {"line", "240"}, {"lineRule", "auto"}})
        xml.writeAttribute(WordNamespace, QLatin1String(name), QLatin1String(value));
    xml.writeEndElement();
    xml.writeEndElement();
}

// The document's defaults, so that its paragraphs stand as the tape's lines do.
QByteArray stylesXml(const TextFont& font) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeNamespace(WordNamespace, QStringLiteral("w"));
    xml.writeStartElement(WordNamespace, QStringLiteral("styles"));
    xml.writeStartElement(WordNamespace, QStringLiteral("docDefaults"));
    writeRunDefaults(xml, font);
    writeParagraphDefaults(xml);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

QByteArray documentXml(const QStringList& paragraphs) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeNamespace(WordNamespace, QStringLiteral("w"));
    xml.writeStartElement(WordNamespace, QStringLiteral("document"));
    xml.writeStartElement(WordNamespace, QStringLiteral("body"));
    for (const QString& paragraph : paragraphs)
        writeParagraph(xml, paragraph);
    writeSection(xml);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

// The cause of a libzip failure in German. The archive is built in memory, so little can fail.
QString zipFailure(const zip_error_t* error) {
    if (zip_error_code_zip(error) == ZIP_ER_MEMORY)
        return SystemErrorSentence(ENOMEM);
    if (zip_error_system_type(error) == ZIP_ET_SYS)
        return SystemErrorSentence(zip_error_code_system(error));
    return QStringLiteral("Das Dokument konnte nicht gepackt werden (libzip-Fehler %1).")
        .arg(zip_error_code_zip(error));
}

// Adds the part; the bytes must live until the archive is closed.
bool addPart(zip_t* archive, const char* name, const QByteArray& bytes) {
    zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
    if (source && zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) >= 0)
        return true;
    zip_source_free(source);
    return false;
}

// Packs the parts into the archive and closes it; the archive's error, else nothing.
std::optional<Failure> packInto(zip_t* archive, const Parts& parts) {
    for (const auto& [name, bytes] : parts) {
        if (!addPart(archive, name, bytes)) {
            const QString reason = zipFailure(zip_get_error(archive));
            zip_discard(archive);
            return reason;
        }
    }
    if (zip_close(archive) == 0)
        return std::nullopt;
    const QString reason = zipFailure(zip_get_error(archive));
    zip_discard(archive);
    return reason;
}

// The bytes a closed in-memory archive left in its buffer.
std::variant<QByteArray, Failure> bufferContent(zip_source_t* buffer) {
    zip_stat_t stat;
    if (zip_source_open(buffer) != 0)
        return zipFailure(zip_source_error(buffer));
    QByteArray bytes;
    const bool read = zip_source_stat(buffer, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE);
    if (read) {
        bytes.resize(static_cast<qsizetype>(stat.size));
        if (zip_source_read(buffer, bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
            bytes.clear();
    }
    const QString reason = zipFailure(zip_source_error(buffer));
    zip_source_close(buffer);
    if (!read || bytes.size() != static_cast<qsizetype>(stat.size))
        return reason;
    return bytes;
}

// The package in memory, so that only finished bytes reach the disk.
std::variant<QByteArray, Failure> packageBytes(const Parts& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    if (!archive) {
        const QString reason = zipFailure(&error);
        zip_source_free(buffer);
        zip_error_fini(&error);
        return reason;
    }
    zip_source_keep(buffer); // beyond the archive's closing
    std::variant<QByteArray, Failure> content;
    if (std::optional<Failure> reason = packInto(archive, parts))
        content = *reason;
    else
        content = bufferContent(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return content;
}

} // namespace

std::optional<Failure> WriteDocx(const QString& path, const QStringList& paragraphs,
                                 const TextFont& font) {
    const Parts parts = {
        {"[Content_Types].xml", QByteArray(ContentTypes)},
        {"_rels/.rels", QByteArray(PackageRelationships)},
        {"word/document.xml", documentXml(paragraphs)},
        {"word/_rels/document.xml.rels", QByteArray(DocumentRelationships)},
        {"word/styles.xml", stylesXml(font)},
    };
    const std::variant<QByteArray, Failure> package = packageBytes(parts);
    if (const auto* reason = std::get_if<Failure>(&package))
        return *reason;
    return WriteFileSafely(path, std::get<QByteArray>(package), Commit::CreateNew);
}
