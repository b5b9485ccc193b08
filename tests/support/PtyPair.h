#pragma once

#include <QByteArray>
#include <QString>

namespace zarn::test {

// The car's end of a pseudo-terminal: the program under test opens slavePath().
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isOpen() const { return master_ >= 0; }
    const QString& slavePath() const { return slavePath_; }

    bool write(const QByteArray& bytes);
    // Everything that arrives within timeoutMs, returning early once `until` bytes came.
    QByteArray read(int timeoutMs, int until = -1);
    // Reads until `needle` has arrived (returns everything read, needle included) or the
    // time is up (returns what came, without the needle).
    QByteArray readUntil(const QByteArray& needle, int timeoutMs);
    void close();

private:
    int master_ = -1;
    QString slavePath_;
};

} // namespace zarn::test
