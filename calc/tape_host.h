#pragma once

#include "calc/evaluation.h"

// The main window as the correction window sees it: the number tape it owns and the
// way it writes tape lines.
class TapeHost {
public:
    virtual ~TapeHost() = default;

    virtual NumberTape& tapes() = 0;
    virtual LineFormat lineFormat() const = 0;
};
