#pragma once

#include <QString>

#include <memory>

// The desktop's clipboard and its selection (the text a middle click pastes), as the windows
// write and read it; tests put a stand-in in its place.
class Clipboard {
public:
    enum class Mode { Clipboard, Selection };

    virtual ~Clipboard() = default;

    // Where the desktop has no selection, writing it does nothing and reading it gives "".
    virtual void setText(const QString& text, Mode mode = Mode::Clipboard) = 0;
    virtual QString text(Mode mode = Mode::Clipboard) const = 0;
};

std::unique_ptr<Clipboard> CreateDesktopClipboard();
