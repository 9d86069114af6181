#pragma once

class Clipboard;
struct NumberTape;
class QListView;
class QWidget;

// Both copy through the clipboard, which must outlive the view and the window.

// Ctrl+C in the view copies its selected line without its alignment blanks. Nothing is copied
// while no line, or a blank one, is selected.
void CopySelectedLineOnCtrlC(QListView& view, Clipboard& clipboard);

// Ctrl+Shift+C anywhere in the window copies the whole tape as plain text (TapeAsText); an
// empty tape copies nothing.
void CopyWholeTapeOnCtrlShiftC(QWidget& window, const NumberTape& tapes, Clipboard& clipboard);
