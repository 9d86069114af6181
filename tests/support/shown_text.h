#pragma once

#include <QString>
#include <QTextDocument>

// The characters that a label, tooltip or message box shows for its text: rich text as it is
// rendered, plain text as it stands.
inline QString ShownText(const QString& text, Qt::TextFormat format = Qt::AutoText) {
    const bool rich =
        format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
    if (!rich)
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}
