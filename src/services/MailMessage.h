#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

namespace zarn {

// One Internet mail message as the mail pages show it, decoded from its raw bytes (the
// answer to TOP n 0 or RETR n). Header texts are UTF-8 whatever the message used:
// encoded words and raw 8-bit headers are decoded, an unknown charset falls back to
// UTF-8 when the bytes are valid UTF-8 and to Windows-1252 otherwise. Parsing never
// fails toward the caller: what cannot be read stays empty. A pure function of the
// bytes; any thread.
struct MailMessage {
    struct Part {
        QString contentType; // "text/plain", lower case
        QString fileName;    // empty when the part names none
        qint64 size = 0;     // decoded bytes
        bool text = false;   // shown in the body (a text part that is no attachment)
        bool operator==(const Part&) const = default;
    };

    // Deeper multipart nesting is not walked; its parts count as one unread part.
    static constexpr int MaxDepth = 32;
    // Parts beyond this many are not listed.
    static constexpr int MaxParts = 1000;

    QString from;       // the sender's address text, "Name <addr>"
    QString to;         // all To addresses as one text
    QString cc;
    QString subject;
    QString receipt;    // Disposition-Notification-To
    QDateTime date;     // invalid when the message has none or an unreadable one
    QString body;       // the last text part, HTML as plain text
    QList<Part> parts;  // every leaf part in order, attachments included
    bool truncated = false; // nesting or part count was cut at the limits above

    static MailMessage parse(QByteArrayView raw);

    // The parts that are not shown: "[Attachment: name (type, n bytes)]" lines.
    QString attachmentList() const;
    bool operator==(const MailMessage&) const = default;
};

} // namespace zarn
