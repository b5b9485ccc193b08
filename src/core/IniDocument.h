#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zarn {

// The lines of one profile file, edited in place so that comments, unknown keys,
// blank lines and the order survive a write. Section and key names match without
// regard to case; the first section and the first key of a name win, as with the
// platform's profile functions. A line starting with ';' is a comment.
class IniDocument {
public:
    IniDocument() = default;

    // UTF-8; a file that is not valid UTF-8 is an old one in Latin-1.
    static IniDocument fromBytes(const QByteArray& bytes);
    // UTF-8, with the line ends the file had (LF for a new file).
    QByteArray toBytes() const;

    // The value after "=", trimmed, one pair of enclosing quotes removed.
    std::optional<QString> value(const QString& section, const QString& key) const;
    bool contains(const QString& section, const QString& key) const;
    // Replaces the value, keeping the key's spelling in the file; a missing key is
    // added after the last key of its section, a missing section at the end.
    // Line breaks in the value become blanks, so a value never adds lines.
    void setValue(const QString& section, const QString& key, const QString& value);

    const QStringList& lines() const { return lines_; }

private:
    qsizetype findSection(const QString& section) const;
    qsizetype findKey(qsizetype header, const QString& key) const;
    qsizetype sectionEnd(qsizetype header) const;

    QStringList lines_;
    bool crlf_ = false;
};

} // namespace zarn
