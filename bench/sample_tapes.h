#pragma once

#include "calc/evaluation.h"
#include "resources/fonts.h"

// Tapes as wide as the main window's, measured in its font, holding the given number of
// evaluations with every line right-aligned as the window shows it.
struct SampleTapes {
    explicit SampleTapes(int lines = 0);

    FontMeasurer measurer{fonts::WindowDefault()};
    LineFormat format{measurer, 1, 1695}; // two decimal places, lists 1695 twips wide
    NumberTape tapes;
};
