#pragma once

#include "widgets/message_boxes.h"

#include <QGuiApplication>
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
    // Messages shown while the wait cursor was still up.
    int shownBusy = 0;

    void show(Icon icon, const QString& text) override {
        said.append({icon, text});
        shownBusy += QGuiApplication::overrideCursor() != nullptr;
    }
};

inline char* toString(const RecordingMessageBoxes::Said& said) {
    const char* icon = said.icon == MessageBoxes::Icon::Warning ? "warning" : "information";
    return QTest::toString(QStringLiteral("%1: %2").arg(QLatin1String(icon), said.text));
}
