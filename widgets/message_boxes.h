#pragma once

#include <QString>

// What the program tells the user: a message box with the application's title "Zifferon",
// a warning or information icon and an OK button. Tests put a recording stand-in in its place.
class MessageBoxes {
public:
    enum class Icon { Warning, Information };

    virtual ~MessageBoxes() = default;

    virtual void show(Icon icon, const QString& text) = 0;

    void warning(const QString& text) { show(Icon::Warning, text); }
    void information(const QString& text) { show(Icon::Information, text); }
};

// Modal message boxes over the active window.
class QtMessageBoxes : public MessageBoxes {
public:
    void show(Icon icon, const QString& text) override;
};
