#include "toolbar/docx_document.h"

#include <QFile>
#include <QXmlStreamWriter>

#include <zip.h>

#include <utility>
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
    R"(</Types>)";

constexpr char PackageRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/)"
    R"(relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

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

QString openError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString reason = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return reason;
}

// The archive's last error; the archive is given up and nothing is written.
QString discarded(zip_t* archive) {
    QString reason = QString::fromUtf8(zip_strerror(archive));
    zip_discard(archive);
    return reason;
}

// Adds the part; the bytes must live until the archive is closed.
bool addPart(zip_t* archive, const char* name, const QByteArray& bytes) {
    zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
    if (source && zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) >= 0)
        return true;
    zip_source_free(source);
    return false;
}

} // namespace

std::optional<QString> WriteDocx(const QString& path, const QStringList& paragraphs) {
    const std::vector<std::pair<const char*, QByteArray>> parts = {
        {"[Content_Types].xml", QByteArray(ContentTypes)},
        {"_rels/.rels", QByteArray(PackageRelationships)},
        {"word/document.xml", documentXml(paragraphs)},
    };
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!archive)
        return openError(code);
    for (const auto& [name, bytes] : parts) {
        if (!addPart(archive, name, bytes))
            return discarded(archive);
    }
    if (zip_close(archive) != 0)
        return discarded(archive);
    return std::nullopt;
}
