#pragma once

#include <QString>

// One entry of a help file's sitemap as chmcmd reads it, with its page when given.
inline QString SitemapEntry(const QString& name, const QString& local = {}) {
    QString text =
        QStringLiteral(R"(<LI><OBJECT type="text/sitemap"><param name="Name" value="%1">)")
            .arg(name);
    if (!local.isEmpty())
        text += QStringLiteral(R"(<param name="Local" value="%1">)").arg(local);
    return text + QStringLiteral("</OBJECT>");
}
