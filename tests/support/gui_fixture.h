#pragma once

#include <QMessageBox>
#include <QString>
#include <QTest>

#include <functional>

namespace gui_test {

// What a real message box showed before the fixture closed it.
struct SeenMessage {
    bool shown = false;
    QString title;
    QString text;
    Qt::TextFormat textFormat = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Runs the action and closes the first real message box it opens, reporting what it showed.
SeenMessage closeMessageBoxDuring(const std::function<void()>& action);

// Runs the test object with the offscreen platform (unless one is set) and a temporary home
// folder that holds the XDG configuration, state, data and cache folders; where no temporary
// folder can be made, no test runs and the run fails. Every real message box is closed as soon as
// it shows; one that no test expected fails the run.
int run(int argc, char** argv, const std::function<QObject*()>& createTest);

} // namespace gui_test

#define ZIFFERON_GUI_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char** argv) {                                                              \
        return gui_test::run(argc, argv, [] { return new TestClass; });                            \
    }
