#pragma once

#include "calc/evaluation.h"
#include "main_window/form1.h"
#include "resources/fonts.h"

#include <benchmark/benchmark.h>

#include <memory>

// Tapes as wide as the main window's, measured in its font, holding the given number of
// evaluations with every line right-aligned as the window shows it.
struct SampleTapes {
    explicit SampleTapes(int lines = 0);

    FontMeasurer measurer{fonts::WindowDefault()};
    LineFormat format{measurer, 1, 1695}; // two decimal places, lists 1695 twips wide
    NumberTape tapes;
};

// A shown main window whose tapes hold the sample's lines; its shortcuts need it active.
std::unique_ptr<Form1> WindowWith(benchmark::State& state, const SampleTapes& sample);

// The key in the window's formula field, and the views laying out and painting what it did.
void Press(Form1& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {});
