// Any bytes as a journal of the tapes: the summary that the start reads and the full reading
// agree on whether they are a journal and on its formula lines, and what is read is written and
// read again unchanged.
#include "formats/tape_journal.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool invariant) {
    if (!invariant)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<JournalSummary> summary = SummarizeJournal(bytes);
    const std::optional<JournalTapes> tapes = ReadJournal(bytes);
    check(summary.has_value() == tapes.has_value());
    if (!tapes)
        return 0;
    check(summary->formulas == tapes->lists[0].size());
    for (const QStringList& list : tapes->lists)
        check(list.size() <= MaxJournalLines);
    const QByteArray again = JournalStart(summary->run) +
                             JournalRecord({{&tapes->lists[0], &tapes->lists[1], &tapes->lists[2]},
                                            {},
                                            tapes->resultText,
                                            tapes->totalText});
    const std::optional<JournalTapes> reread = ReadJournal(again);
    check(reread && reread->lists == tapes->lists && reread->resultText == tapes->resultText &&
          reread->totalText == tapes->totalText);
    return 0;
}
