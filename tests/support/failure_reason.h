#pragma once

#include "files/failure.h"

#include <optional>

// The sentence of a failure, nothing where there was none: what a test compares.
inline std::optional<QString> ReasonOf(const std::optional<Failure>& failure) {
    return failure ? std::optional(failure->reason) : std::nullopt;
}
