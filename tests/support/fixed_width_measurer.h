#pragma once

#include "calc/text_measurer.h"

#include <QHash>

// Measures every character with the same width, unless a width is set for it.
class FixedWidthMeasurer : public TextMeasurer {
public:
    explicit FixedWidthMeasurer(double charWidth = 100.0, int checkMark = 13)
        : m_charWidth(charWidth)
        , m_checkMark(checkMark) {}

    void setWidth(QChar character, double width) { m_widths.insert(character, width); }

    double textWidth(const QString& text) const override {
        double width = 0;
        for (QChar character : text)
            width += m_widths.value(character, m_charWidth);
        return width;
    }
    int checkMarkWidth() const override { return m_checkMark; }

private:
    double m_charWidth;
    int m_checkMark;
    QHash<QChar, double> m_widths;
};
