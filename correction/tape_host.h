#pragma once

#include "calc/evaluation.h"
#include "calc/tape_change.h"

#include <functional>

// The main window as the correction window sees it: the number tape it owns, the way it writes
// tape lines and the steps it keeps of their changes.
class TapeHost {
public:
    virtual ~TapeHost() = default;

    virtual NumberTape& tapes() = 0;
    virtual LineFormat lineFormat() const = 0;
    // The line selected in the formula tape; -1 when none is.
    virtual int selectedFormula() const = 0;
    // Runs the change of the tapes and keeps it as a step that the user can take back.
    virtual void changeTapes(const std::function<TapeChange()>& change) = 0;
};
