#pragma once

class QListView;
class Tape;

// Shows the tape in the list view and keeps the view's selection and the tape's in step.
void BindTapeView(QListView& view, Tape& tape);
