#pragma once

#include <QAccessible>
#include <QString>

class QComboBox;
class QLabel;
class QWidget;

// What screen readers learn of the windows beyond what Qt's own accessible interfaces tell.

// Presents the top-level window as a frame (QAccessible::Window) or a dialog
// (QAccessible::Dialog). It is named by its caption, or by the given name where it shows none.
void ExposeWindow(QWidget& window, QAccessible::Role role, const QString& name = {});

// Names the control by the label that stands above it; the control's tooltip describes it.
void NameByLabel(QLabel& label, QWidget& control);

// Names the editable combo box, which Qt would name by its current text; the text stays its
// value and the tooltip its description.
void NameComboBox(QComboBox& box, const QString& name);
