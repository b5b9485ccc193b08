#pragma once

#include <QString>
#include <QStringView>

namespace zarn {

// The readable text of an HTML mail part: tags dropped, script and style contents
// dropped, block ends as line breaks, runs of blanks as one blank, character references
// decoded (unknown ones kept as written). One pass over the input, no recursion, so
// any input ends in time linear in its length. Any thread.
QString htmlToText(QStringView html);

} // namespace zarn
