// GLib's headers name struct members "signals", which Qt defines as a keyword: they go
// before any Qt header.
#include <gmime/gmime.h>

#include "services/MailMessage.h"

#include "services/HtmlText.h"

#include <mutex>

namespace zarn {

namespace {

void initGmime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

// GObject references released on every path out.
template<typename T>
struct Ref {
    T* p = nullptr;
    explicit Ref(T* ptr) : p(ptr) {}
    ~Ref()
    {
        if (p)
            g_object_unref(p);
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
};

QString takeString(char* text)
{
    const QString s = QString::fromUtf8(text);
    g_free(text);
    return s;
}

QString addressText(InternetAddressList* list)
{
    if (!list || internet_address_list_length(list) == 0)
        return {};
    return takeString(internet_address_list_to_string(list, nullptr, FALSE));
}

QByteArray filtered(const QByteArray& bytes, const char* from)
{
    GMimeFilter* filter = g_mime_filter_charset_new(from, "UTF-8");
    if (!filter)
        return {};
    Ref<GMimeStream> out(g_mime_stream_mem_new());
    Ref<GMimeStream> conv(g_mime_stream_filter_new(out.p));
    g_mime_stream_filter_add(GMIME_STREAM_FILTER(conv.p), filter);
    g_object_unref(filter);
    g_mime_stream_write(conv.p, bytes.constData(), size_t(bytes.size()));
    g_mime_stream_flush(conv.p);
    GByteArray* array = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.p));
    return QByteArray(reinterpret_cast<const char*>(array->data), qsizetype(array->len));
}

bool isUtf8Name(const char* charset)
{
    const QByteArray name = QByteArray(charset).toLower();
    return name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii";
}

// Bytes in a declared charset as text. A charset that iconv does not know, or bytes
// that are not what it claims, fall back to UTF-8 when they are valid UTF-8 and to
// Windows-1252 otherwise, so no text is lost to a wrong label.
QString decodeText(const QByteArray& bytes, const char* charset)
{
    if (charset && *charset && !isUtf8Name(charset)) {
        const QByteArray utf8 = filtered(bytes, charset);
        if (!utf8.isEmpty() && g_utf8_validate(utf8.constData(), utf8.size(), nullptr))
            return QString::fromUtf8(utf8);
    }
    if (g_utf8_validate(bytes.constData(), bytes.size(), nullptr))
        return QString::fromUtf8(bytes);
    const QByteArray utf8 = filtered(bytes, "windows-1252");
    if (!utf8.isEmpty() && g_utf8_validate(utf8.constData(), utf8.size(), nullptr))
        return QString::fromUtf8(utf8);
    return QString::fromLatin1(bytes);
}

QByteArray decodedContent(GMimePart* part)
{
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (!content)
        return {};
    Ref<GMimeStream> out(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, out.p);
    GByteArray* array = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.p));
    return QByteArray(reinterpret_cast<const char*>(array->data), qsizetype(array->len));
}

QString typeText(GMimeObject* object)
{
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (!type)
        return QStringLiteral("text/plain");
    return (QString::fromUtf8(g_mime_content_type_get_media_type(type)) + u'/'
            + QString::fromUtf8(g_mime_content_type_get_media_subtype(type)))
        .toLower();
}

class PartWalk {
public:
    explicit PartWalk(MailMessage& m) : m_(m) {}

    void walk(GMimeObject* object, int depth)
    {
        if (!object)
            return;
        if (m_.parts.size() >= MailMessage::MaxParts) {
            m_.truncated = true;
            return;
        }
        if (GMIME_IS_MULTIPART(object)) {
            if (depth >= MailMessage::MaxDepth) {
                m_.truncated = true;
                m_.parts.append({typeText(object), QString(), 0, false});
                return;
            }
            GMimeMultipart* multipart = GMIME_MULTIPART(object);
            const int count = g_mime_multipart_get_count(multipart);
            for (int i = 0; i < count; ++i)
                walk(g_mime_multipart_get_part(multipart, i), depth + 1);
            return;
        }
        MailMessage::Part part;
        part.contentType = typeText(object);
        if (GMIME_IS_MESSAGE_PART(object)) {
            // A forwarded message is listed, not opened.
            m_.parts.append(part);
            return;
        }
        if (!GMIME_IS_PART(object))
            return;
        GMimePart* leaf = GMIME_PART(object);
        part.fileName = QString::fromUtf8(g_mime_part_get_filename(leaf));
        const QByteArray bytes = decodedContent(leaf);
        part.size = bytes.size();
        GMimeContentType* type = g_mime_object_get_content_type(object);
        const bool isText = !type || g_mime_content_type_is_type(type, "text", "*");
        part.text = isText && !g_mime_part_is_attachment(leaf);
        if (part.text) {
            QString text = decodeText(bytes, type ? g_mime_content_type_get_parameter(type, "charset") : nullptr);
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            m_.body = part.contentType == QLatin1String("text/html") ? htmlToText(text) : text;
        }
        m_.parts.append(part);
    }

private:
    MailMessage& m_;
};

} // namespace

MailMessage MailMessage::parse(QByteArrayView raw)
{
    MailMessage m;
    if (raw.isEmpty())
        return m;
    initGmime();
    GMimeParserOptions* options = g_mime_parser_options_new();
    // Raw 8-bit headers: UTF-8 when they are, else the Western charset most mailers used.
    const char* fallback[] = {"UTF-8", "windows-1252", nullptr};
    g_mime_parser_options_set_fallback_charsets(options, fallback);
    g_mime_parser_options_set_rfc2047_compliance_mode(options, GMIME_RFC_COMPLIANCE_LOOSE);

    Ref<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(raw.data(), size_t(raw.size())));
    Ref<GMimeParser> parser(g_mime_parser_new_with_stream(stream.p));
    Ref<GMimeMessage> message(g_mime_parser_construct_message(parser.p, options));
    if (message.p) {
        m.from = addressText(g_mime_message_get_from(message.p));
        m.to = addressText(g_mime_message_get_to(message.p));
        m.cc = addressText(g_mime_message_get_cc(message.p));
        m.subject = QString::fromUtf8(g_mime_message_get_subject(message.p));
        if (GDateTime* date = g_mime_message_get_date(message.p))
            m.date = QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(date)).toLocalTime();
        if (const char* receipt = g_mime_object_get_header(GMIME_OBJECT(message.p), "Disposition-Notification-To")) {
            if (InternetAddressList* list = internet_address_list_parse(options, receipt)) {
                m.receipt = addressText(list);
                g_object_unref(list);
            }
        }
        PartWalk(m).walk(g_mime_message_get_mime_part(message.p), 0);
    }
    g_mime_parser_options_free(options);
    return m;
}

QString MailMessage::attachmentList() const
{
    QString list;
    for (const Part& p : parts) {
        if (p.text)
            continue;
        if (!list.isEmpty())
            list += u'\n';
        list += QStringLiteral("[Attachment: %1 (%2, %3 bytes)]")
                    .arg(p.fileName.isEmpty() ? QStringLiteral("unnamed") : p.fileName, p.contentType)
                    .arg(p.size);
    }
    if (truncated)
        list += (list.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("[More parts not shown]");
    return list;
}

} // namespace zarn
