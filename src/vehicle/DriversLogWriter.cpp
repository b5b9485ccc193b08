#include "vehicle/DriversLogWriter.h"

#include "core/Clock.h"
#include "core/StatusLog.h"
#include "ibus/IbusSender.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace zarn {

namespace {
const char* const Weekdays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

QString upperAscii(QString text)
{
    for (QChar& c : text)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

QString withSlash(const QString& dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

// "2 No such file or directory <what> <path>"
QString errorLine(int error, const QString& what, const QString& path)
{
    return QStringLiteral("%1 %2 %3 %4").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)), what, path);
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// A new file's name must reach the disk too, or the synced record goes with it.
void syncDirectory(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

DriversLogWriter::DriversLogWriter(IbusSender& sender, StatusLog& log, const QString& appDir, QObject* parent)
    : QObject(parent)
    , sender_(sender)
    , log_(log)
    , appDir_(withSlash(appDir))
{
}

QString DriversLogWriter::logFileName(QDate date)
{
    return QStringLiteral("%1-%2.LOG").arg(date.month()).arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString DriversLogWriter::recordLine(const QDateTime& now, const QString& mileage, const QString& data,
                                     const QLocale& locale)
{
    const QString weekday = QLatin1String(Weekdays[now.date().dayOfWeek() - 1]);
    return weekday + QLatin1Char(',')
        + upperAscii(locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(',')
                     + now.time().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char(',') + mileage + QLatin1Char(',')
                     + data)
        + QStringLiteral("\r\n");
}

bool DriversLogWriter::WriteDriversLogEntry(const QString& data, const QString& street, const QString& mileage)
{
    if (!sender_.SendInProgress())
        sender_.SendClusterText((street + QStringLiteral(" at ") + mileage).left(20));

    const QDateTime now = Clock::current().now();
    const QString name = logFileName(now.date());
    const QString line = recordLine(now, mileage, data);
    emit entryWritten(line.chopped(2));
    const QByteArray bytes = line.toUtf8();

    // Records the main log could not take wait for the next entry, in their order: a
    // directory that comes back (a remount, a full disk with room again) gets them all.
    unwritten_.append({name, bytes});
    bool written = true;
    while (written && !unwritten_.isEmpty()) {
        const QString path = appDir_ + QStringLiteral("driverslog/") + unwritten_.first().first;
        written = append(path, unwritten_.first().second, path + QStringLiteral(" found, appending log records..."),
                         path + QStringLiteral(" newly created"));
        if (written)
            unwritten_.removeFirst();
    }
    if (!written && unwritten_.size() > 1)
        log_.addError(QString::number(unwritten_.size())
                      + QStringLiteral(" driver's log records wait for the log to be writable again"));

    if (dual_.trimmed().isEmpty()) {
        log_.AddStatusLine(QStringLiteral("Dual logging not active !"));
        return written;
    }
    const QString dualPath = withSlash(dual_) + QStringLiteral("driverslog/") + name;
    append(dualPath, bytes, dualPath + QStringLiteral(" found as dual log, appending log records..."),
           dualPath + QStringLiteral(" dual log newly created"));
    return written;
}

bool DriversLogWriter::append(const QString& path, const QByteArray& bytes, const QString& found, const QString& created)
{
    const QString dir = QFileInfo(path).path();
    QDir().mkpath(dir);
    const bool existed = QFileInfo::exists(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        // A lost record must never pass unnoticed, tracing or not.
        log_.addError(errorLine(errno, QStringLiteral("cannot open the driver's log"), path));
        return false;
    }
    log_.addMessage(existed ? found : created);
    int error = 0;
    const off_t start = ::lseek(fd, 0, SEEK_END);
    bool ok = writeAll(fd, bytes);
    if (!ok)
        error = errno;
    else if (::fsync(fd) != 0)
        ok = false, error = errno;
    // A torn record is worse than none: the record is kept and written whole later.
    if (!ok && start >= 0 && ::ftruncate(fd, start) == 0)
        ::fsync(fd);
    if (::close(fd) != 0 && ok)
        ok = false, error = errno;
    if (!ok) {
        log_.addError(errorLine(error, QStringLiteral("cannot write the driver's log"), path));
        return false;
    }
    if (!existed)
        syncDirectory(dir);
    return true;
}

} // namespace zarn
