#pragma once

#include "files/failure.h"

#include <QString>

#include <optional>

// Shows a compiled help file on its default topic, without blocking the caller.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;

    // Why the file cannot be shown; nothing when it is.
    virtual std::optional<Failure> ShowHelp(const QString& helpFile) = 0;
};
