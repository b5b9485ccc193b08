#include "core/StartupSequence.h"

namespace zarn {

QStringList StartupSequence::names() const
{
    QStringList names;
    for (const Entry& e : steps_)
        names << e.name;
    return names;
}

void StartupSequence::run(const Splash& splash) const
{
    const Splash quiet = [](int, const QString&) {};
    for (const Entry& e : steps_)
        e.step(splash ? splash : quiet);
}

} // namespace zarn
