#include "calc/tape_change.h"

#include "calc/recalculation.h"

#include <algorithm>

void TapeChange::appended(Tape& list, int countBefore) {
    if (list.count() > countBefore)
        m_swaps.push_back({&list, countBefore, list.count() - countBefore, {}});
}

void TapeChange::replaced(Tape& list, int position, QString before) {
    if (position >= 0 && position < list.count() && list.text(position) != before)
        m_swaps.push_back({&list, position, 1, {std::move(before)}});
}

void TapeChange::rewritten(Tape& list, const QStringList& before) {
    const QStringList& now = list.lines();
    const auto from = static_cast<int>(
        std::mismatch(before.cbegin(), before.cend(), now.cbegin(), now.cend()).first -
        before.cbegin());
    if (from < before.size() || from < now.size())
        m_swaps.push_back({&list, from, list.count() - from, before.sliced(from)});
}

void TapeChange::empty(Tape& list) {
    if (list.count() == 0)
        return;
    Swap& swap = m_swaps.emplace_back(Swap{&list, 0, list.count(), {}});
    swap.exchange();
}

qsizetype TapeChange::linesHeld() const {
    qsizetype held = 0;
    for (const Swap& swap : m_swaps)
        held += swap.lines.size();
    return held;
}

bool TapeChange::reaches(const Tape& list, int position) const {
    return std::any_of(m_swaps.begin(), m_swaps.end(), [&](const Swap& swap) {
        const bool replaced = position < swap.position + swap.count;
        const bool moved = swap.count != swap.lines.size();
        return swap.list == &list && position >= swap.position && (replaced || moved);
    });
}

void TapeChange::takeBack() {
    for (auto swap = m_swaps.rbegin(); swap != m_swaps.rend(); ++swap)
        swap->exchange();
}

void TapeChange::makeAgain() {
    for (Swap& swap : m_swaps)
        swap.exchange();
}

void TapeChange::Swap::exchange() {
    const auto putBack = static_cast<int>(lines.size());
    lines = list->swapLines(position, count, std::move(lines));
    count = putBack;
}

TapeEnds::TapeEnds(const NumberTape& tapes)
    : formulas(tapes.List1.count())
    , results(tapes.List2.count())
    , totals(tapes.List3.count()) {}

TapeChange AppendedSince(NumberTape& tapes, const TapeEnds& ends) {
    TapeChange change;
    change.appended(tapes.List1, ends.formulas);
    change.appended(tapes.List2, ends.results);
    change.appended(tapes.List3, ends.totals);
    return change;
}

TapeChange EmptyTapes(NumberTape& tapes) {
    TapeChange change;
    change.empty(tapes.List1);
    change.empty(tapes.List2);
    change.empty(tapes.List3);
    return change;
}

TapeChange CorrectLineAsChange(NumberTape& tapes, int k, const QString& formula,
                               const QString& resultText, const LineFormat& format) {
    QString formulaBefore = tapes.List1.text(k);
    QString resultBefore = tapes.List2.text(k);
    const QStringList totalsBefore = tapes.List3.lines();
    CorrectLine(tapes, k, formula, resultText, format);
    TapeChange change;
    change.replaced(tapes.List1, k, std::move(formulaBefore));
    change.replaced(tapes.List2, k, std::move(resultBefore));
    change.rewritten(tapes.List3, totalsBefore);
    return change;
}
