#pragma once

#include <QString>

// Shows a compiled help file on its default topic, without blocking the caller.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;

    virtual void ShowHelp(const QString& helpFile) = 0;
};
