#include "main_window/tape_journal.h"

#include "files/file_access.h"
#include "files/private_files.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace {

constexpr int SyncDelayMs = 1000;
// The file is written anew once what was appended outgrows this many times the tapes it held.
constexpr qint64 GrowthBeforeRewrite = 4;
constexpr qint64 GrowthAllowance = 1024 * 1024;
const QString Suffix = QStringLiteral(".journal");

QByteArray randomName() {
    return QByteArray::number(QRandomGenerator::system()->generate64(), 36);
}

bool keepsNothing(const JournalRecordSource& tapes) {
    return std::all_of(tapes.keep.begin(), tapes.keep.end(), [](qsizetype n) { return n == 0; });
}

bool holdsNoLines(const JournalRecordSource& tapes) {
    return std::all_of(tapes.lists.begin(), tapes.lists.end(),
                       [](const QStringList* list) { return list->isEmpty(); });
}

} // namespace

FileTapeJournal::FileTapeJournal(QString folder, QByteArray run)
    : m_folder(std::move(folder))
    , m_run(std::move(run)) {
    m_syncTimer.setSingleShot(true);
    m_syncTimer.setInterval(SyncDelayMs);
    connect(&m_syncTimer, &QTimer::timeout, this, [this] {
        if (m_own)
            m_own->sync();
    });
}

FileTapeJournal::~FileTapeJournal() {
    if (m_own && m_tapesEmpty)
        m_own->remove();
    else if (m_own)
        m_own->sync();
    // This run's tapes took over from the last run's, or were emptied on purpose.
    if (m_lastRun && m_changed && !m_failed)
        m_lastRun->remove();
}

QByteArray FileTapeJournal::ThisRun() {
    static const QByteArray run = randomName();
    return run;
}

std::optional<qsizetype> FileTapeJournal::lastRunLines() {
    if (!m_searched)
        findLastRun();
    if (!m_lastRun)
        return std::nullopt;
    return m_lastRunLines;
}

// The newest journal of an ended run that left tapes; the journals of ended runs that left
// none go, as do the files a run left half-written when it was killed while writing anew.
void FileTapeJournal::findLastRun() {
    m_searched = true;
    QDir folder(m_folder);
    for (const QFileInfo& entry : folder.entryInfoList({".*" + Suffix + ".new-*"},
                                                       QDir::Files | QDir::Hidden | QDir::System)) {
        if (const std::unique_ptr<LockedFile> unfinished =
                LockedFile::lockExisting(entry.filePath()))
            unfinished->remove();
    }
    const QFileInfoList entries =
        folder.entryInfoList({'*' + Suffix}, QDir::Files | QDir::Hidden | QDir::System, QDir::Time);
    for (const QFileInfo& entry : entries) {
        std::unique_ptr<LockedFile> file = LockedFile::lockExisting(entry.filePath());
        if (!file)
            continue;
        const auto bytes = file->readAll(MaxJournalBytes);
        if (!std::holds_alternative<QByteArray>(bytes))
            continue;
        const std::optional<JournalSummary> summary = SummarizeJournal(std::get<QByteArray>(bytes));
        if (!summary || summary->run == m_run)
            continue;
        if (summary->tapesEmpty) {
            file->remove();
            continue;
        }
        m_lastRun = std::move(file);
        m_lastRunLines = summary->formulas;
        return;
    }
}

std::optional<JournalTapes> FileTapeJournal::takeLastRun() {
    if (!m_lastRun)
        return std::nullopt;
    const auto bytes = m_lastRun->readAll(MaxJournalBytes);
    if (!std::holds_alternative<QByteArray>(bytes))
        return std::nullopt;
    return ReadJournal(std::get<QByteArray>(bytes));
}

std::optional<Failure> FileTapeJournal::record(const JournalRecordSource& tapes) {
    if (m_failed)
        return std::nullopt;
    m_changed = true;
    m_tapesEmpty = holdsNoLines(tapes);
    if (!m_own && m_tapesEmpty)
        return std::nullopt;
    const bool outgrown =
        m_own && m_own->size() > GrowthBeforeRewrite * m_sizeWhenWritten + GrowthAllowance;
    std::optional<Failure> failure;
    if (!m_own || keepsNothing(tapes) || outgrown) {
        failure = writeAnew(tapes);
    } else {
        failure = m_own->append(JournalRecord(tapes));
        if (!m_syncTimer.isActive())
            m_syncTimer.start();
    }
    if (failure)
        return fail(*failure);
    return std::nullopt;
}

std::optional<Failure> FileTapeJournal::writeAnew(const JournalRecordSource& tapes) {
    if (const auto failure = MakePrivateFolder(m_folder))
        return failure;
    JournalRecordSource whole = tapes;
    whole.keep = {};
    const QByteArray bytes = JournalStart(m_run) + JournalRecord(whole);
    const QString path = m_own ? m_own->path() : m_folder + '/' + randomName() + Suffix;
    auto written = LockedFile::create(path, bytes, m_own != nullptr);
    if (auto* failure = std::get_if<Failure>(&written))
        return *failure;
    m_own = std::move(std::get<std::unique_ptr<LockedFile>>(written));
    m_sizeWhenWritten = bytes.size();
    return std::nullopt;
}

// A journal that fails is given up for the run: the file goes, so that no older tapes come
// back at the next start.
Failure FileTapeJournal::fail(const Failure& failure) {
    m_failed = true;
    if (m_own)
        m_own->remove();
    m_own.reset();
    return Failure(
        QStringLiteral("Die Zahlenstreifen können nicht für den nächsten Start aufbewahrt "
                       "werden und gehen beim Programmende verloren, wenn Sie sie nicht "
                       "speichern. ") +
        failure.reason);
}
