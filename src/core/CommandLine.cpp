#include "core/CommandLine.h"

namespace zarn {

CommandLine::CommandLine(const QStringList& arguments)
    : text_(arguments.join(QLatin1Char(' ')).toUpper())
{
}

bool CommandLine::has(QLatin1StringView switchName) const
{
    return text_.contains(switchName, Qt::CaseSensitive);
}

} // namespace zarn
