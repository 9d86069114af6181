#pragma once

#include "files/failure.h"
#include "formats/tape_journal.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

class LockedFile;

// Keeps the run's tapes beyond its end, and finds the tapes of the last run that ended.
class TapeJournal {
public:
    virtual ~TapeJournal() = default;

    // How many formula lines the newest ended run left, which this run then holds until it
    // ends; nothing when no run left tapes.
    virtual std::optional<qsizetype> lastRunLines() = 0;
    // The lines of that run; nothing when they can no longer be read.
    virtual std::optional<JournalTapes> takeLastRun() = 0;
    // After every change of the tapes: the lists now, of which the first `keep` lines of each
    // are as the journal last had them. A journal that fails gives up for the run and tells why
    // once, in a German warning that the tapes will not outlive the run.
    virtual std::optional<Failure> record(const JournalRecordSource& tapes) = 0;
};

// The journal as a file in the program's state folder, one per run, held locked while the run
// lives; written first at the run's first change. A change that keeps lines appends a record; one
// that keeps none, or after the file grew well beyond its tapes, writes the file anew. The file
// is synced to the disk at most once a second. When the run ends it leaves the file only while
// the tapes hold lines, and removes the last run's file once its own took over.
class FileTapeJournal : public QObject, public TapeJournal {
public:
    // The run's name (letters and digits) tells its journals from those of other runs.
    FileTapeJournal(QString folder, QByteArray run);
    ~FileTapeJournal() override;

    // A name for the journals of this process.
    static QByteArray ThisRun();

    std::optional<qsizetype> lastRunLines() override;
    std::optional<JournalTapes> takeLastRun() override;
    std::optional<Failure> record(const JournalRecordSource& tapes) override;

private:
    void findLastRun();
    std::optional<Failure> writeAnew(const JournalRecordSource& tapes);
    Failure fail(const Failure& failure);

    QString m_folder;
    QByteArray m_run;
    std::unique_ptr<LockedFile> m_own;
    qint64 m_sizeWhenWritten = 0;
    bool m_tapesEmpty = true;
    bool m_changed = false;
    bool m_failed = false;
    bool m_searched = false;
    std::unique_ptr<LockedFile> m_lastRun;
    qsizetype m_lastRunLines = 0;
    QTimer m_syncTimer;
};
