#pragma once

#include <QString>

// The font exported text is set in: the family and the size in points.
struct TextFont {
    QString family;
    double points = 0;
};
