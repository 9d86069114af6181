// Any text read as a number; a number it reads must survive the way back through its text form.
#include "calc/module1.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// NumberToText keeps 15 significant digits, so reading it back may differ in the last bits only.
bool closeEnough(double original, double readBack) {
    return std::fabs(original - readBack) <= 1e-14 * std::fabs(original);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<double> number = TextToNumber(text);
    if (!number || !std::isfinite(*number))
        return 0;
    const std::optional<double> readBack = TextToNumber(NumberToText(*number));
    if (!readBack || !closeEnough(*number, *readBack))
        std::abort();
    return 0;
}
