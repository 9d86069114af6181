#include "toolbar/office_export.h"

#include "toolbar/docx_document.h"
#include "toolbar/tape_look.h"
#include "toolbar/xlsx_workbook.h"

#include "files/file_access.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <functional>

namespace {

const QString ParagraphEnd = QStringLiteral("\r\n");
const QString NamePrefix = QStringLiteral("Zifferon-Band "); // of every exported file
constexpr QChar Replacement = QChar::ReplacementCharacter;

// XML 1.0 holds tab, LF, CR and the characters from the blank on, except lone surrogates and
// U+FFFE/U+FFFF; every other character becomes U+FFFD.
QString xmlSafe(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t code = text[i].unicode();
        const bool control = code < 0x20 && code != u'\t' && code != u'\n' && code != u'\r';
        const bool pairStart =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pairStart)
            ++i;
        else if (control || text[i].isSurrogate() || code >= 0xFFFE)
            text[i] = Replacement;
    }
    return text;
}

// Paragraphs of appended text: each CR LF ends one; a rest without it is the last paragraph.
QStringList paragraphsOf(const QString& text) {
    QStringList paragraphs = text.split(ParagraphEnd);
    if (paragraphs.last().isEmpty())
        paragraphs.removeLast();
    return paragraphs;
}

// Where an export is saved and how it is shown: a new file in the folder, then the opener.
class SavedExport {
public:
    SavedExport(FileOpener& opener, QString folder, QString suffix)
        : m_opener(opener)
        , m_folder(std::move(folder))
        , m_suffix(std::move(suffix)) {}

    ExportFailure prepareFolder() const {
        if (QDir().mkpath(m_folder) && QFileInfo(m_folder).isWritable())
            return std::nullopt;
        return QStringLiteral("Im Ordner „%1“ kann nichts gespeichert werden.")
            .arg(QDir::toNativeSeparators(m_folder));
    }

    using Writer = std::function<std::optional<Failure>(const QString& path)>;

    ExportFailure saveAndOpen(const Writer& write) const {
        removeStaleTemporaries();
        const QString path = uniquePath();
        if (const std::optional<Failure> failure = write(path)) {
            return QStringLiteral("Das Band konnte nicht als „%1“ gespeichert werden: %2")
                .arg(QDir::toNativeSeparators(path), failure->reason);
        }
        if (!m_opener.open(path))
            return ExportNotShownWarning(path, QStringLiteral("kein Programm dafür gefunden."));
        return std::nullopt;
    }

private:
    // What exports of this kind that were killed while writing left in the folder.
    void removeStaleTemporaries() const {
        const QRegularExpression exportName(QRegularExpression::anchoredPattern(
            QRegularExpression::escape(NamePrefix) +
            QStringLiteral(R"(\d{4}-\d\d-\d\d \d\d-\d\d-\d\d( \(\d+\))?)") +
            QRegularExpression::escape(m_suffix)));
        RemoveStaleTemporaries(m_folder, [&exportName](const QString& name) {
            return exportName.match(name).hasMatch();
        });
    }

    // "Zifferon-Band 2026-12-07 14-03-12.docx", then " (2)", " (3)" ... before the suffix.
    QString uniquePath() const {
        const QString stem =
            m_folder + u'/' + NamePrefix +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
        QString path = stem + m_suffix;
        for (int clash = 2; QFileInfo(path).exists() || QFileInfo(path).isSymLink(); ++clash)
            path = stem + QStringLiteral(" (%1)").arg(clash) + m_suffix;
        return path;
    }

    FileOpener& m_opener;
    QString m_folder;
    QString m_suffix;
};

class WordFile : public DocumentTarget {
public:
    WordFile(FileOpener& opener, const QString& folder)
        : m_export(opener, folder, QStringLiteral(".docx")) {}

    ExportFailure createAndShow() override { return m_export.prepareFolder(); }
    ExportFailure newDocument() override {
        m_text.clear();
        return std::nullopt;
    }
    ExportFailure appendText(const QString& text) override {
        m_text += xmlSafe(text);
        return std::nullopt;
    }
    ExportFailure release() override {
        const QStringList paragraphs = paragraphsOf(m_text);
        const TextFont font = TapeTextFont();
        return m_export.saveAndOpen([&paragraphs, &font](const QString& path) {
            return WriteDocx(path, paragraphs, font);
        });
    }

private:
    SavedExport m_export;
    QString m_text;
};

class ExcelFile : public SpreadsheetTarget {
public:
    ExcelFile(FileOpener& opener, const QString& folder)
        : m_export(opener, folder, QStringLiteral(".xlsx")) {}

    ExportFailure createAndShow() override { return m_export.prepareFolder(); }
    ExportFailure newWorkbook() override {
        m_cells.clear();
        return std::nullopt;
    }
    ExportFailure setCell(int row, int column, const QString& text) override {
        m_cells.append({row - 1, column - 1, xmlSafe(text)});
        return std::nullopt;
    }
    ExportFailure release() override {
        const SheetLook look = TapeSheetLook(m_cells);
        return m_export.saveAndOpen(
            [this, &look](const QString& path) { return WriteXlsx(path, m_cells, look); });
    }

private:
    SavedExport m_export;
    QList<SheetCell> m_cells;
};

} // namespace

ExportFailure ExportToWord(const NumberTape& tapes, DocumentTarget& target) {
    if (ExportFailure failure = target.createAndShow())
        return failure;
    if (ExportFailure failure = target.newDocument())
        return failure;
    for (const Tape* tape : {&tapes.List1, &tapes.List2, &tapes.List3}) {
        const int n = tape->count();
        for (int i = 0; i <= n; ++i) {
            if (ExportFailure failure = target.appendText(tape->text(i) + ParagraphEnd))
                return failure;
        }
    }
    return target.release();
}

ExportFailure ExportToExcel(const NumberTape& tapes, SpreadsheetTarget& target) {
    if (ExportFailure failure = target.createAndShow())
        return failure;
    if (ExportFailure failure = target.newWorkbook())
        return failure;
    int column = 1;
    for (const Tape* tape : {&tapes.List1, &tapes.List2, &tapes.List3}) {
        const int n = tape->count();
        for (int i = 0; i <= n; ++i) {
            if (ExportFailure failure = target.setCell(i + 1, column, tape->text(i)))
                return failure;
        }
        ++column;
    }
    return target.release();
}

QString ExportNotShownWarning(const QString& path, const QString& cause) {
    return QStringLiteral("Die Datei „%1“ wurde gespeichert, konnte aber nicht geöffnet werden: %2")
        .arg(QDir::toNativeSeparators(path), cause);
}

QString DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

std::unique_ptr<DocumentTarget> CreateWordTarget(FileOpener& opener, const QString& folder) {
    return std::make_unique<WordFile>(opener, folder);
}

std::unique_ptr<SpreadsheetTarget> CreateExcelTarget(FileOpener& opener, const QString& folder) {
    return std::make_unique<ExcelFile>(opener, folder);
}
