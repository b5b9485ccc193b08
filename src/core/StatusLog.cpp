#include "core/StatusLog.h"

#include "core/Clock.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>

#include <cstdio>

namespace zarn {

StatusLog::StatusLog(QObject* parent)
    : QObject(parent)
{
}

StatusLog::~StatusLog()
{
    delete mirror_;
}

QString StatusLog::timeStamp() const
{
    const QTime t = Clock::current().now().time();
    if (clockTicked_)
        return t.toString(QStringLiteral("hh:mm:ss"));
    return QLocale::system().toString(t, QLocale::LongFormat);
}

void StatusLog::setClockTicked()
{
    clockTicked_ = true;
}

void StatusLog::AddStatusLine(const QString& text)
{
    const QString line = timeStamp() + QLatin1Char(' ') + text;
    if (mirror_) {
        mirror_->write(line.toUtf8());
        mirror_->write("\n");
        mirror_->flush();
    }
    if (size_ + line.size() + 1 > capacity_ && !lines_.isEmpty()) {
        clear();
        if (overflowSink_) {
            overflowSink_(line);
            return;
        }
    }
    lines_.append(line);
    size_ += line.size() + 1;
    emit lineAdded(line);
}

void StatusLog::clear()
{
    lines_.clear();
    size_ = 0;
    emit cleared();
}

bool StatusLog::save(const QString& path, QString* error)
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    for (qsizetype i = 0; ok && i < lines_.size(); ++i)
        ok = file.write(lines_[i].toUtf8() + "\r\n") >= 0;
    ok = ok && file.commit();
    if (!ok) {
        if (error)
            *error = QStringLiteral("Unable to write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    AddStatusLine(QStringLiteral("File ") + path + QStringLiteral(" saved"));
    return true;
}

bool StatusLog::setMirror(const QString& target, QString* error)
{
    delete mirror_;
    mirror_ = new QFile;
    const bool ok = target == QLatin1String("stderr")
        ? mirror_->open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered)
        : (mirror_->setFileName(target), mirror_->open(QIODevice::WriteOnly | QIODevice::Append));
    if (!ok) {
        if (error)
            *error = mirror_->errorString();
        delete mirror_;
        mirror_ = nullptr;
    }
    return ok;
}

} // namespace zarn
