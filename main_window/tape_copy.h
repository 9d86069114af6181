#pragma once

struct NumberTape;
class QListView;
class QWidget;

// Ctrl+C in the view copies its selected line without its alignment blanks. Nothing is copied
// while no line, or a blank one, is selected.
void CopySelectedLineOnCtrlC(QListView& view);

// Ctrl+Shift+C anywhere in the window copies the whole tape as plain text (TapeAsText); an
// empty tape copies nothing.
void CopyWholeTapeOnCtrlShiftC(QWidget& window, const NumberTape& tapes);
