#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <termios.h>

class QSocketNotifier;

namespace zarn::carsim {

// Single keys from the terminal on standard input, without Enter and without echo.
// Arrow keys arrive as "left", "right", "up", "down", Enter as "enter". Ctrl-C still
// interrupts. The terminal is restored when the object goes. Main thread only.
class Keyboard : public QObject {
    Q_OBJECT
public:
    explicit Keyboard(QObject* parent = nullptr);
    ~Keyboard() override;

    // False when standard input is not a terminal.
    bool start();
    void restoreTerminal();

    void bind(const QStringList& keys, const QString& help, std::function<void()> action);
    // The action learns which of the keys was pressed.
    void bind(const QStringList& keys, const QString& help, std::function<void(const QString&)> action);
    QStringList helpLines() const;

    // The keys in these bytes; an escape sequence cut at the end stays in *rest.
    static QStringList keysOf(QByteArray bytes, QByteArray* rest);

private:
    void readKeys();

    struct Binding {
        QStringList keys;
        QString help;
        std::function<void(const QString&)> action;
    };
    QList<Binding> bindings_;
    QSocketNotifier* notifier_ = nullptr;
    termios saved_{};
    bool raw_ = false;
    QByteArray pending_;
};

} // namespace zarn::carsim
