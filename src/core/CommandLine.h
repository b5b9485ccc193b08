#pragma once

#include <QString>
#include <QStringList>

namespace zarn {

// The whole command line, upper-cased; a switch is present when its name occurs
// anywhere in it (the program's own path included), however it is written.
class CommandLine {
public:
    CommandLine() = default;
    explicit CommandLine(const QStringList& arguments);

    bool has(const char* switchName) const;
    const QString& text() const { return text_; }

private:
    QString text_;
};

} // namespace zarn
