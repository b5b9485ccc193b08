#include "services/HtmlText.h"

#include <QChar>

#include <algorithm>

namespace zarn {

namespace {

struct Entity {
    const char* name;
    char16_t value;
};

constexpr Entity Entities[] = {
    {"amp", u'&'},    {"lt", u'<'},      {"gt", u'>'},     {"quot", u'"'},   {"apos", u'\''},
    {"nbsp", u' '},   {"auml", u'ä'},    {"ouml", u'ö'},   {"uuml", u'ü'},   {"Auml", u'Ä'},
    {"Ouml", u'Ö'},   {"Uuml", u'Ü'},    {"szlig", u'ß'},  {"eacute", u'é'}, {"egrave", u'è'},
    {"agrave", u'à'}, {"ccedil", u'ç'},  {"euro", u'€'},   {"copy", u'©'},   {"reg", u'®'},
    {"ndash", u'–'},  {"mdash", u'—'},   {"hellip", u'…'}, {"laquo", u'«'},  {"raquo", u'»'},
    {"bull", u'•'},   {"middot", u'·'},  {"deg", u'°'},
};

// Tags after which the text goes on in a new line.
constexpr const char* BreakTags[] = {"br", "p", "/p", "div", "/div", "tr", "/tr", "li", "h1", "h2", "h3",
                                     "h4", "/h1", "/h2", "/h3", "/h4", "table", "/table", "hr", "blockquote"};

bool isBreakTag(QStringView name)
{
    for (const char* tag : BreakTags)
        if (name.compare(QLatin1String(tag), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The character a reference at html[i] (just after '&') stands for; consumed is set to
// the length up to and including ';'. Null when it is no reference this reader knows.
QString reference(QStringView html, qsizetype i, qsizetype* consumed)
{
    // Only a short look ahead: a text of many '&' stays linear.
    const qsizetype found = html.sliced(i, std::min<qsizetype>(12, html.size() - i)).indexOf(u';');
    if (found < 0)
        return {};
    const QStringView name = html.sliced(i, found);
    *consumed = found + 1;
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X') ? name.sliced(2).toUInt(&ok, 16)
                                                                                 : name.sliced(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return {};
        const char32_t c = code;
        return QString::fromUcs4(&c, 1);
    }
    for (const Entity& e : Entities)
        if (name == QLatin1String(e.name))
            return QString(QChar(e.value));
    return {};
}

} // namespace

QString htmlToText(QStringView html)
{
    QString out;
    out.reserve(html.size() / 2);
    bool blank = false; // a blank is pending before the next word
    const auto newline = [&out, &blank] {
        while (out.endsWith(u' '))
            out.chop(1);
        if (!out.endsWith(QLatin1String("\n\n")))
            out += u'\n';
        blank = false;
    };
    const auto put = [&out, &blank](QStringView text) {
        if (blank && !out.isEmpty() && !out.endsWith(u'\n'))
            out += u' ';
        blank = false;
        out += text;
    };

    qsizetype i = 0;
    const qsizetype n = html.size();
    while (i < n) {
        const QChar c = html[i];
        if (c == u'<') {
            if (html.sliced(i).startsWith(QLatin1String("<!--"))) {
                const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
                i = end < 0 ? n : end + 3;
                continue;
            }
            const qsizetype end = html.indexOf(u'>', i + 1);
            if (end < 0)
                break; // an unterminated tag hides the rest, as a browser would
            QStringView tag = html.sliced(i + 1, end - i - 1).trimmed();
            qsizetype nameEnd = tag.startsWith(u'/') ? 1 : 0;
            while (nameEnd < tag.size() && tag[nameEnd].isLetterOrNumber())
                ++nameEnd;
            const QStringView name = tag.first(nameEnd);
            i = end + 1;
            for (const char* skipped : {"script", "style", "head", "title"}) {
                if (name.compare(QLatin1String(skipped), Qt::CaseInsensitive) != 0)
                    continue;
                const QString close = QStringLiteral("</") + QLatin1String(skipped);
                const qsizetype stop = html.indexOf(close, i, Qt::CaseInsensitive);
                const qsizetype closeEnd = stop < 0 ? -1 : html.indexOf(u'>', stop);
                i = closeEnd < 0 ? n : closeEnd + 1;
                break;
            }
            if (isBreakTag(name))
                newline();
            else
                blank = true;
            continue;
        }
        if (c == u'&') {
            qsizetype consumed = 0;
            const QString r = reference(html, i + 1, &consumed);
            if (!r.isNull()) {
                put(r);
                i += 1 + consumed;
                continue;
            }
        }
        if (c.isSpace()) {
            blank = true;
            ++i;
            continue;
        }
        put(html.sliced(i, 1));
        ++i;
    }
    while (out.endsWith(u'\n') || out.endsWith(u' '))
        out.chop(1);
    while (out.startsWith(u'\n'))
        out.remove(0, 1);
    return out;
}

} // namespace zarn
