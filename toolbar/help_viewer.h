#pragma once

#include <QString>

#include <optional>

// Shows a compiled help file on its default topic, without blocking the caller.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;

    // A German message when the file cannot be shown.
    virtual std::optional<QString> ShowHelp(const QString& helpFile) = 0;
};
