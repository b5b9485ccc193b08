#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace zarn {

// The start-up sequence: the steps the subsystems register, run once in the order of
// registration. A step writes its splash lines through the function it is given.
// Main thread only.
class StartupSequence {
public:
    // A splash line with its progress position (-1: the bar stays; an empty line: the
    // bar only).
    using Splash = std::function<void(int progress, const QString& line)>;
    using Step = std::function<void(const Splash& splash)>;

    void add(const QString& name, Step step) { steps_.push_back({name, std::move(step)}); }
    QStringList names() const;
    // Every step in order; a headless run passes an empty splash.
    void run(const Splash& splash) const;

private:
    struct Entry {
        QString name;
        Step step;
    };
    std::vector<Entry> steps_;
};

} // namespace zarn
