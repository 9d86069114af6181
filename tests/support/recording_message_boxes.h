#pragma once

#include "widgets/message_boxes.h"

#include <QList>
#include <QTest>

// Keeps what the program said instead of showing it.
struct RecordingMessageBoxes : MessageBoxes {
    struct Said {
        Icon icon;
        QString text;
        bool operator==(const Said&) const = default;
    };

    QList<Said> said;

    void show(Icon icon, const QString& text) override { said.append({icon, text}); }
};

inline char* toString(const RecordingMessageBoxes::Said& said) {
    const char* icon = said.icon == MessageBoxes::Icon::Warning ? "warning" : "information";
    return QTest::toString(QStringLiteral("%1: %2").arg(QLatin1String(icon), said.text));
}
