#include "carsim/Keyboard.h"

#include <QSocketNotifier>

#include <unistd.h>

namespace zarn::carsim {

Keyboard::Keyboard(QObject* parent)
    : QObject(parent)
{
}

Keyboard::~Keyboard()
{
    restoreTerminal();
}

bool Keyboard::start()
{
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &saved_) != 0)
        return false;
    termios tio = saved_;
    tio.c_lflag &= ~tcflag_t(ICANON | ECHO);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(STDIN_FILENO, TCSANOW, &tio) != 0)
        return false;
    raw_ = true;
    notifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &Keyboard::readKeys);
    return true;
}

void Keyboard::restoreTerminal()
{
    if (raw_) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
        raw_ = false;
    }
}

void Keyboard::bind(const QStringList& keys, const QString& help, std::function<void()> action)
{
    bind(keys, help, [action = std::move(action)](const QString&) { action(); });
}

void Keyboard::bind(const QStringList& keys, const QString& help, std::function<void(const QString&)> action)
{
    bindings_.append(Binding{keys, help, std::move(action)});
}

QStringList Keyboard::helpLines() const
{
    // Two bindings a line keeps the help on one screen.
    QStringList cells;
    for (const Binding& b : bindings_)
        cells << QStringLiteral("%1 %2").arg(b.keys.join(QLatin1Char('/')), -12).arg(b.help);
    QStringList lines;
    for (qsizetype i = 0; i < cells.size(); i += 2)
        lines << (i + 1 < cells.size() ? QStringLiteral("%1 %2").arg(cells[i], -36).arg(cells[i + 1]) : cells[i]);
    return lines;
}

QStringList Keyboard::keysOf(QByteArray bytes, QByteArray* rest)
{
    QStringList keys;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\x1b') {
            if (i + 2 >= bytes.size() && (i + 1 >= bytes.size() || bytes[i + 1] == '[')) {
                break; // the rest of the sequence is still coming
            }
            if (bytes[i + 1] == '[') {
                switch (bytes[i + 2]) {
                case 'A': keys << QStringLiteral("up"); break;
                case 'B': keys << QStringLiteral("down"); break;
                case 'C': keys << QStringLiteral("right"); break;
                case 'D': keys << QStringLiteral("left"); break;
                default: break;
                }
                i += 3;
                continue;
            }
            ++i; // a lone escape
            continue;
        }
        if (c == '\n' || c == '\r')
            keys << QStringLiteral("enter");
        else if (quint8(c) >= 0x20 && quint8(c) < 0x7F)
            keys << QString(QLatin1Char(c));
        ++i;
    }
    *rest = bytes.mid(i);
    return keys;
}

void Keyboard::readKeys()
{
    char buffer[64];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        notifier_->setEnabled(false); // end of input
        return;
    }
    pending_.append(buffer, int(n));
    const QStringList keys = keysOf(pending_, &pending_);
    for (const QString& key : keys)
        for (const Binding& b : std::as_const(bindings_))
            if (b.keys.contains(key)) {
                b.action(key);
                break;
            }
}

} // namespace zarn::carsim
