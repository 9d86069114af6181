#include "widgets/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

QClipboard::Mode qtMode(Clipboard::Mode mode) {
    return mode == Clipboard::Mode::Selection ? QClipboard::Selection : QClipboard::Clipboard;
}

class DesktopClipboard : public Clipboard {
public:
    void setText(const QString& text, Mode mode) override {
        QGuiApplication::clipboard()->setText(text, qtMode(mode));
    }

    QString text(Mode mode) const override {
        return QGuiApplication::clipboard()->text(qtMode(mode));
    }
};

} // namespace

std::unique_ptr<Clipboard> CreateDesktopClipboard() {
    return std::make_unique<DesktopClipboard>();
}
