#include "core/CommandLine.h"

namespace zarn {

CommandLine::CommandLine(const QStringList& arguments)
    : text_(arguments.join(QLatin1Char(' ')).toUpper())
{
}

bool CommandLine::has(const char* switchName) const
{
    return text_.contains(QLatin1StringView(switchName), Qt::CaseSensitive);
}

} // namespace zarn
