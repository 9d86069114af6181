#pragma once

// "Drucken": the main window is stripped down to the three tapes and their headings, its
// image goes to the printer after eleven empty lines, and the window is put back as it was.

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;
class Tape;

// How a print job ended; message is the German reason for the user when it did not print,
// notices tell of what went wrong beside the print.
struct PrintResult {
    bool printed = true;
    QString message;
    QStringList notices;

    static PrintResult notPrinted(QString reason) {
        PrintResult result;
        result.printed = false;
        result.message = std::move(reason);
        return result;
    }
};

// One print job: lines of text, then window images, all submitted together by finish().
class TapePrinter {
public:
    virtual ~TapePrinter() = default;

    // Prints the text and a line end.
    virtual void printLine(const QString& text) = 0;
    // Prints the window's contents as they are drawn at this moment.
    virtual void printWindow(QWidget& window) = 0;
    // Ends the job and hands it to the spooler.
    virtual PrintResult finish() = 0;
};

// The system's default printer; when there is none, a printer whose job always fails.
std::unique_ptr<TapePrinter> CreateDefaultPrinter();
// Prints into a PDF file.
std::unique_ptr<TapePrinter> CreatePdfPrinter(const QString& fileName);

// What printing needs of the main window.
struct PrintableWindow {
    QWidget& window;
    // Hidden for the print and shown again afterwards, in this order.
    QList<QWidget*> controls;
    // Among the controls, those hidden again afterwards.
    QList<QWidget*> workingFields;
    Tape& totals;
    std::function<void(const QColor&)> setBackColour;
    std::function<void(const QPixmap&)> setPicture;
    // The picture shown before printing; it stays when layoutPicture cannot be loaded.
    QPixmap picture;
};

// Prints the window and restores it, also when the printer fails. A missing layout picture keeps
// the window's picture; one that is unreadable or too large keeps it too and adds a notice naming
// the cause. The print stands.
PrintResult PrintTape(const PrintableWindow& window, TapePrinter& printer,
                      const QString& layoutPicture);
