#pragma once

#include <QMessageBox>
#include <QString>
#include <QTest>

#include <functional>

namespace gui_test {

// What a message box showed before the test closed it.
struct SeenMessage {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs the action and closes the first message box it opens, reporting what it showed.
SeenMessage closeMessageBoxDuring(const std::function<void()>& action);

// Runs the test object with the offscreen platform (unless one is set) and a temporary home
// folder; fails the run when a message box opens that no test expected.
int run(int argc, char** argv, const std::function<QObject*()>& createTest);

// Set by run(): counts message boxes that opened outside closeMessageBoxDuring().
int unexpectedMessageBoxes();

} // namespace gui_test

#define ZIFFERON_GUI_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char** argv) {                                                              \
        return gui_test::run(argc, argv, [] { return new TestClass; });                            \
    }
