#pragma once

#include "practice/core/PracticeStats.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace orvane {

// One practice pass as the history keeps it.
struct PracticeRecord {
    QDateTime when;          // end of the pass, UTC
    QString chime;           // the chime's name as the window caption shows it
    int steps = 0;           // steps of the chime
    QString groups;          // practised groups as letters, e.g. "b" or "mb"
    int intervalMs = 0;      // step interval
    int notes = 0;
    int strokes = 0;
    int hits = 0;
    int missed = 0;
    int wrongBell = 0;
    int extra = 0;
    double meanError = 0.0;     // ms, positive: behind
    double spread = 0.0;        // ms
    double withinOnTime = 0.0;  // 0..1

    // True when the record is of the same chime (name and length) as `other`.
    bool SameChime(const PracticeRecord& other) const { return chime == other.chime && steps == other.steps; }
};

// Fills the figures of a record from a pass summary.
void FillFigures(PracticeRecord& record, const StrokeSummary& summary);

// The practice history: a CSV file (UTF-8, a header line, one row per pass, "," between fields,
// fields holding "," or '"' quoted), read whole and rewritten whole and atomically (a temporary
// file renamed over the old one) when a pass is added, so a crash never leaves half a file.
// Runs on the caller's thread; one writer at a time.
class PracticeHistory {
  public:
    static constexpr const char* kFileName = "practice-history.csv";
    static const QStringList& Header();

    explicit PracticeHistory(QString path) : path_(std::move(path)) {}
    const QString& Path() const { return path_; }

    // Every row that reads as a record, oldest first. A damaged row (wrong field count, a number
    // that does not read, a bad date) is skipped and counted in SkippedRows(). A missing file is
    // an empty history.
    std::vector<PracticeRecord> Read();
    int SkippedRows() const { return skipped_; }

    // Appends the record. False, with a message for the user in Error(), when the file cannot be
    // written (a read-only folder, a full disk); the old file is then unchanged. The folder is
    // created when missing. Damaged rows of the old file are kept as they were.
    bool Append(const PracticeRecord& record);
    const QString& Error() const { return error_; }

    // The CSV fields of a record and back; the parse fails (false) on a damaged row.
    static QStringList Fields(const PracticeRecord& record);
    static bool Parse(const QStringList& fields, PracticeRecord& record);
    // One CSV line split into fields (quotes honoured) and joined back.
    static QStringList SplitLine(const QString& line);
    static QString JoinLine(const QStringList& fields);

  private:
    QString path_;
    QString error_;
    int skipped_ = 0;
};

}  // namespace orvane
