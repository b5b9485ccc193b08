// Arbitrary bytes as a mail message, the way the message page takes one: the MIME
// parse, the header and body decoding, HTML as text and the attachment list; and the
// same bytes as an HTML body on their own.
#include "services/HtmlText.h"
#include "services/MailMessage.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const zarn::MailMessage m = zarn::MailMessage::parse(bytes);
    // The parse is a pure function of the bytes.
    if (!(zarn::MailMessage::parse(bytes) == m))
        std::abort();
    if (m.parts.size() > zarn::MailMessage::MaxParts)
        std::abort();
    const QString shown = m.body + m.attachmentList();
    const QString html = zarn::htmlToText(QString::fromUtf8(bytes));
    // Text never grows beyond what a reference can expand to.
    if (html.size() > qsizetype(size) * 2 + 1)
        std::abort();
    (void)shown;
    return 0;
}
