#pragma once

#include "calc/evaluation.h"

#include <vector>

// A change made to the number tape, kept so that it can be taken back and made again. For every
// list it changed it holds the lines that the list held before in place of the lines it holds
// now; taking the change back or making it again swaps the two, so that lines move between the
// list and the change without being copied.
class TapeChange {
public:
    bool isEmpty() const { return m_swaps.empty(); }
    // The lines the change holds in place of the lines the lists hold now.
    qsizetype linesHeld() const;
    // Whether taking the change back or making it again replaces the list's line at the position
    // or moves it to another.
    bool reaches(const Tape& list, int position) const;

    // The lines appended to the list since it had countBefore lines.
    void appended(Tape& list, int countBefore);
    // The line at the position, which read `before` until the change.
    void replaced(Tape& list, int position, QString before);
    // Every line of the list, which held `before` until the change; the change keeps the lines
    // from the first one that changed on.
    void rewritten(Tape& list, const QStringList& before);
    // Empties the list as part of the change.
    void empty(Tape& list);

    void takeBack();
    void makeAgain();

private:
    struct Swap {
        Tape* list;
        int position;
        int count; // of the lines at the position that stand in place of `lines`
        QStringList lines;

        void exchange();
    };

    std::vector<Swap> m_swaps;
};

// The line counts of the three lists at one moment, to tell later what was appended to them.
struct TapeEnds {
    explicit TapeEnds(const NumberTape& tapes);

    int formulas;
    int results;
    int totals;
};

// The lines appended to each list since the ends were taken.
TapeChange AppendedSince(NumberTape& tapes, const TapeEnds& ends);

// Empties the three lists; the change holds all of their lines.
TapeChange EmptyTapes(NumberTape& tapes);

// CorrectLine, kept as a change.
TapeChange CorrectLineAsChange(NumberTape& tapes, int k, const QString& formula,
                               const QString& resultText, const LineFormat& format);
