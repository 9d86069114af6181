#pragma once

#include <QString>

// Measures text the way the main window draws it: widths in twips of the window's font.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;

    virtual double textWidth(const QString& text) const = 0;
    // Width of a list box check mark in pixels.
    virtual int checkMarkWidth() const = 0;
};
