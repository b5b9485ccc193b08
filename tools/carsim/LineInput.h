#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace zarn::carsim {

// Whole lines from a file descriptor (standard input) as they arrive, without blocking
// the event loop. Main thread only.
class LineInput : public QObject {
    Q_OBJECT
public:
    explicit LineInput(int fd, QObject* parent = nullptr);

    void start();

signals:
    void line(const QString& text);
    // End of input; a last line without its newline came before.
    void ended();

private:
    void readAvailable();

    int fd_;
    QSocketNotifier* notifier_ = nullptr;
    QByteArray pending_;
};

} // namespace zarn::carsim
