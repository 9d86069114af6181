#pragma once

// "Drucken": eleven empty lines, then the image of a window, on one print job. How the window
// looks while it prints is the window's own affair.

#include "files/failure.h"

#include <QString>

#include <memory>
#include <optional>

class QWidget;

// One print job: lines of text, then window images, all submitted together by finish().
class TapePrinter {
public:
    virtual ~TapePrinter() = default;

    // Prints the text and a line end.
    virtual void printLine(const QString& text) = 0;
    // Prints the window's contents as they are drawn at this moment.
    virtual void printWindow(QWidget& window) = 0;
    // Ends the job and hands it to the spooler; why it was not printed, nothing when it was.
    virtual std::optional<Failure> finish() = 0;
};

// The system's default printer; when there is none, a printer whose job always fails.
std::unique_ptr<TapePrinter> CreateDefaultPrinter();
// Prints into a PDF file.
std::unique_ptr<TapePrinter> CreatePdfPrinter(const QString& fileName);

// Prints eleven empty lines and the window as it is drawn now; why it was not printed, nothing
// when it was.
std::optional<Failure> PrintTape(QWidget& window, TapePrinter& printer);
