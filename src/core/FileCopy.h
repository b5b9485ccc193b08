#pragma once

#include <QString>

namespace zarn {

// Copies source to target whole or not at all: written beside target under a hidden
// temporary name, flushed to disk, then renamed to target, which is never replaced (the
// copy fails when target exists). Nothing of a failed copy stays behind; `error` then
// names the file and the reason. Any thread; touches only the two files.
bool copyFileWhole(const QString& source, const QString& target, QString* error);

} // namespace zarn
