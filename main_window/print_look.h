#pragma once

#include "files/failure.h"
#include "resources/picture.h"

#include <QList>
#include <QString>

#include <optional>

class Form1;
class QWidget;

// The main window as it prints: the three tapes and their headings on the colour of a list, no
// picture, the last total not selected. Made, it strips the window; destroyed, it puts the window
// back with the layout picture in place of the picture shown before, also when the print failed.
class PrintLook {
public:
    // The layout picture is read at once; where it cannot be loaded the window keeps its picture.
    PrintLook(Form1& window, const QString& layoutPicture);
    ~PrintLook();
    PrintLook(const PrintLook&) = delete;
    PrintLook& operator=(const PrintLook&) = delete;

    // Why the layout picture that lies there was not loaded; nothing when it loaded or is missing
    // (no user was ever given that file).
    const std::optional<Failure>& layoutFailure() const { return m_layoutFailure; }

private:
    void strip();
    void restore();
    // Hidden for the print and shown again afterwards, in this order.
    QList<QWidget*> controls() const;

    Form1& m_window;
    Picture m_afterwards;
    std::optional<Failure> m_layoutFailure;
};
