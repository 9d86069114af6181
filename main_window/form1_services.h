#pragma once

#include "calc/expression_engine.h"
#include "toolbar/help_viewer.h"

#include <functional>
#include <memory>

// The platform behind the main window's commands; tests put stand-ins in its place.
struct Form1Services {
    EngineFactory engine;
    std::function<void()> endProgram;
    std::shared_ptr<HelpViewer> help;
    QString programFolder;

    static Form1Services Default();
};
