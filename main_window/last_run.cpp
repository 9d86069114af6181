#include "main_window/last_run.h"

#include "files/file_access.h"
#include "main_window/tape_commands.h"
#include "widgets/message_boxes.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace {

std::array<Tape*, 3> listsOf(NumberTape& tapes) {
    return {&tapes.List1, &tapes.List2, &tapes.List3};
}

// The hint in full where it fits the field, else without "von zuletzt" (the tooltip has it).
QString placeholder(qsizetype lines, const QLineEdit& field) {
    constexpr int FrameAndMargins = 8;
    const QString count = QStringLiteral("Strg+Z: %1 %2")
                              .arg(GermanCount(lines),
                                   lines == 1 ? QStringLiteral("Zeile") : QStringLiteral("Zeilen"));
    const QString full = count + QStringLiteral(" von zuletzt");
    const bool fits =
        field.fontMetrics().horizontalAdvance(full) <= field.width() - FrameAndMargins;
    return fits ? full : count;
}

QString tooltip(const QString& fieldTip, qsizetype lines) {
    return fieldTip + QStringLiteral("\n\nStrg+Z holt die %1 Zeilen zurück, die beim letzten "
                                     "Programmende auf den Zahlenstreifen standen; "
                                     "Strg+Umschalt+Z leert die Streifen wieder.")
                          .arg(GermanCount(lines));
}

// The last run's tapes, emptied at the start of this run. Until taken back the step holds only
// the journal; the first Ctrl+Z reads the lines.
class LastRunStep : public HistoryStep {
public:
    LastRunStep(std::shared_ptr<TapeJournal> journal, NumberTape& tapes,
                const JournalFields& fields)
        : m_journal(std::move(journal))
        , m_tapes(tapes)
        , m_fields(fields) {}

    void undo() override {
        if (!m_texts)
            read();
        m_change.takeBack();
        m_texts->exchange();
    }

    void redo() override {
        m_change.makeAgain();
        m_texts->exchange();
    }

    const TapeChange& change() const override { return m_change; }

private:
    // The lines go onto the tapes and off again into the change, so that they are moved, not
    // copied; the hidden fields likewise.
    void read() {
        const QList<QLineEdit*> hidden{&m_fields.result, &m_fields.total};
        std::optional<JournalTapes> last = m_journal->takeLastRun();
        m_journal.reset();
        const QSignalBlocker resultSilent(m_fields.result);
        const QSignalBlocker totalSilent(m_fields.total);
        const QString result = m_fields.result.text();
        const QString total = m_fields.total.text();
        if (last) {
            const std::array<Tape*, 3> lists = listsOf(m_tapes);
            for (int i = 0; i < 3; ++i)
                lists[i]->append(std::move(last->lists[i]));
            m_fields.result.setText(last->resultText);
            m_fields.total.setText(last->totalText);
        }
        m_texts.emplace(hidden);
        m_change = EmptyTapes(m_tapes);
        m_fields.result.setText(result);
        m_fields.total.setText(total);
        m_texts->noteTextsAfter();
    }

    std::shared_ptr<TapeJournal> m_journal;
    NumberTape& m_tapes;
    JournalFields m_fields;
    TapeChange m_change;
    std::optional<FieldTexts> m_texts;
};

// The first line of each list that changed since the last record.
class ChangedLines : public QObject {
public:
    ChangedLines(TapeJournal& journal, NumberTape& tapes, const JournalFields& fields)
        : m_journal(journal)
        , m_lists(listsOf(tapes))
        , m_fields(fields) {
        for (int i = 0; i < 3; ++i) {
            Tape& list = *m_lists[i];
            m_first[i] = list.count();
            const auto changedFrom = [this, i](int row) {
                m_first[i] = std::min<qsizetype>(m_first[i], row);
            };
            connect(&list, &Tape::rowsInserted, this,
                    [changedFrom](const QModelIndex&, int first, int) { changedFrom(first); });
            connect(&list, &Tape::rowsRemoved, this,
                    [changedFrom](const QModelIndex&, int first, int) { changedFrom(first); });
            connect(&list, &Tape::dataChanged, this,
                    [changedFrom](const QModelIndex& topLeft) { changedFrom(topLeft.row()); });
            connect(&list, &Tape::modelReset, this, [changedFrom] { changedFrom(0); });
        }
    }

    std::optional<Failure> record() {
        const QString result = m_fields.result.text();
        const QString total = m_fields.total.text();
        JournalRecordSource source{
            {&m_lists[0]->lines(), &m_lists[1]->lines(), &m_lists[2]->lines()},
            m_first,
            result,
            total};
        for (int i = 0; i < 3; ++i)
            m_first[i] = m_lists[i]->count();
        return m_journal.record(source);
    }

private:
    TapeJournal& m_journal;
    std::array<Tape*, 3> m_lists;
    JournalFields m_fields;
    JournalCounts m_first{};
};

} // namespace

void OfferLastRun(const std::shared_ptr<TapeJournal>& journal, TapeHistory& history,
                  NumberTape& tapes, const JournalFields& fields) {
    const std::optional<qsizetype> lines = journal->lastRunLines();
    if (!lines)
        return;
    history.putAtBottom(std::make_unique<LastRunStep>(journal, tapes, fields));
    QLineEdit& formula = fields.formula;
    const QString fieldTip = formula.toolTip();
    formula.setPlaceholderText(placeholder(*lines, formula));
    formula.setToolTip(tooltip(fieldTip, *lines));
    auto told = std::make_shared<QMetaObject::Connection>();
    *told = QObject::connect(&history, &TapeHistory::changed, &formula, [&formula, fieldTip, told] {
        formula.setPlaceholderText(QString());
        formula.setToolTip(fieldTip);
        QObject::disconnect(*told);
    });
}

std::unique_ptr<QObject> KeepTapesIn(TapeJournal& journal, const TapeHistory& history,
                                     NumberTape& tapes, const JournalFields& fields,
                                     MessageBoxes& messages) {
    auto changed = std::make_unique<ChangedLines>(journal, tapes, fields);
    QObject::connect(&history, &TapeHistory::changed, changed.get(),
                     [lines = changed.get(), &messages] {
                         if (const std::optional<Failure> failure = lines->record())
                             messages.warning(failure->reason);
                     });
    return changed;
}
