#include "core/IniDocument.h"

#include <QStringDecoder>

namespace zarn {

namespace {

// The name of a section header line, or nullopt.
std::optional<QStringView> headerName(QStringView line)
{
    line = line.trimmed();
    if (!line.startsWith(u'['))
        return std::nullopt;
    line = line.mid(1);
    const qsizetype close = line.indexOf(u']');
    return (close < 0 ? line : line.left(close)).trimmed();
}

// The key of a "key=value" line (trimmed) and the position of its "=".
std::optional<QStringView> keyName(QStringView line, qsizetype* equals = nullptr)
{
    const QStringView trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    if (equals)
        *equals = eq;
    return line.left(eq).trimmed();
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);

    IniDocument doc;
    if (text.isEmpty())
        return doc;
    doc.lines_ = text.split(QLatin1Char('\n'));
    if (doc.lines_.last().isEmpty())
        doc.lines_.removeLast(); // the final line end
    for (QString& line : doc.lines_) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
            doc.crlf_ = true;
        }
    }
    return doc;
}

QByteArray IniDocument::toBytes() const
{
    const char* eol = crlf_ ? "\r\n" : "\n";
    QByteArray out;
    for (const QString& line : lines_) {
        out += line.toUtf8();
        out += eol;
    }
    return out;
}

qsizetype IniDocument::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const auto name = headerName(lines_[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < lines_.size() && !headerName(lines_[i]))
        ++i;
    return i;
}

qsizetype IniDocument::findKey(qsizetype header, const QString& key) const
{
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const auto name = keyName(lines_[i]);
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype line = findKey(header, key);
    if (line < 0)
        return std::nullopt;
    qsizetype eq = 0;
    keyName(lines_[line], &eq);
    QStringView v = QStringView(lines_[line]).mid(eq + 1).trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v.toString();
}

bool IniDocument::contains(const QString& section, const QString& key) const
{
    const qsizetype header = findSection(section);
    return header >= 0 && findKey(header, key) >= 0;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Reading drops one pair of enclosing quotes; a value that has them of its own (a
    // command line '"/opt/my app" "a b"') gets one more pair, so it reads back unchanged.
    if (clean.size() >= 2 && (clean.front() == u'"' || clean.front() == u'\'') && clean.back() == clean.front())
        clean = clean.front() + clean + clean.back();

    const qsizetype header = findSection(section);
    if (header < 0) {
        lines_.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines_.append(key + QLatin1Char('=') + clean);
        return;
    }
    const qsizetype line = findKey(header, key);
    if (line >= 0) {
        lines_[line] = keyName(lines_[line])->toString() + QLatin1Char('=') + clean;
        return;
    }
    qsizetype insertAt = header + 1;
    for (qsizetype i = sectionEnd(header) - 1; i > header; --i) {
        if (keyName(lines_[i])) {
            insertAt = i + 1;
            break;
        }
    }
    lines_.insert(insertAt, key + QLatin1Char('=') + clean);
}

} // namespace zarn
