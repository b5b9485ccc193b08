#include "carsim/LineInput.h"

#include <QSocketNotifier>

#include <cerrno>
#include <utility>
#include <unistd.h>

namespace zarn::carsim {

LineInput::LineInput(int fd, QObject* parent)
    : QObject(parent)
    , fd_(fd)
{
}

void LineInput::start()
{
    if (notifier_)
        return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &LineInput::readAvailable);
}

void LineInput::readAvailable()
{
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        notifier_->setEnabled(false);
        if (!pending_.isEmpty())
            emit line(QString::fromUtf8(std::exchange(pending_, {})));
        emit ended();
        return;
    }
    pending_.append(buffer, qsizetype(n));
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        QByteArray text = pending_.left(end);
        pending_.remove(0, end + 1);
        if (text.endsWith('\r'))
            text.chop(1);
        emit line(QString::fromUtf8(text));
    }
}

} // namespace zarn::carsim
