#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QPair>
#include <QObject>
#include <QString>

namespace zarn {

class IbusSender;
class StatusLog;

// The driver's log files: one record per entry appended to
// AppDir/driverslog/<month>-<year>.LOG and, when a dual log directory is set, to the
// same name below it.
//
// Contract (main thread only):
//  - WriteDriversLogEntry() does not look at the mode: callers do.
//  - A record counts as written once it is on the disk (fsync'ed): the log is a tax
//    record and the car PC loses power without warning. A power cut leaves every
//    record written before it whole.
//  - Failures of the main log are reported as status lines and returned; a dual log
//    that cannot be written is reported and does not change the result. Nothing
//    throws. A record the main log could not take is kept (never half written) and
//    written before the next entry's; unwrittenCount() tells how many wait.
//  - entryWritten(line) for every record built, for the page's log list.
class DriversLogWriter : public QObject {
    Q_OBJECT
public:
    DriversLogWriter(IbusSender& sender, StatusLog& log, const QString& appDir, QObject* parent = nullptr);

    // The dual log directory ([Driverslog] duallog); empty: no dual log.
    void setDualLogDirectory(const QString& directory) { dual_ = directory; }

    // "3-2005.LOG" for any day of March 2005.
    static QString logFileName(QDate date);
    // Weekday + "," + upper(date + "," + time + "," + mileage + "," + data), ended by CR LF;
    // only a to z are upper-cased. The date in the locale's short format.
    static QString recordLine(const QDateTime& now, const QString& mileage, const QString& data,
                              const QLocale& locale = QLocale());

    // data: city + "," + street (+ ",GAS filled up"). street and mileage are the captions
    // of the page's items (the cluster is told). True when the main log holds the record.
    bool WriteDriversLogEntry(const QString& data, const QString& street, const QString& mileage);
    qsizetype unwrittenCount() const { return unwritten_.size(); }

signals:
    void entryWritten(const QString& line);

private:
    // Appends and syncs; reports on the log. found/created: the status lines for an
    // existing and a new file.
    bool append(const QString& path, const QByteArray& bytes, const QString& found, const QString& created);

    IbusSender& sender_;
    StatusLog& log_;
    QString appDir_;
    QString dual_;
    QList<QPair<QString, QByteArray>> unwritten_; // file name, record; oldest first
};

} // namespace zarn
