#pragma once

#include "core/SettingsRow.h"

#include <QString>

namespace zarn {

struct MailServer {
    QString serverName;
    QString serverPort; // as typed; see MailSettings::pop3Port()
    QString serverUser;
    QString serverPassword;
    bool operator==(const MailServer&) const = default;
};

// The mail retrieval's share of Zarn.ini. A default-constructed value holds the
// defaults of its rows. Main thread only.
struct MailSettings {
    MailSettings();
    static std::span<const SettingsRow> keys();

    MailServer pop3, smtp; // smtp is read and never used
    int smtpAuthenticationType = 0;
    QString personalEmail;
    // How the POP3 connection is protected: auto, plain, starttls or tls.
    QString pop3Security;
    // Off only by the user's choice: a server whose certificate is not trusted is accepted.
    bool pop3CheckCertificate = true;
    // A PEM file of certificates trusted beside the system's (a private mail server's CA).
    QString pop3CaFile;

    bool operator==(const MailSettings&) const = default;

    int pop3Port() const; // the typed port, or 110 when it is no number
};

} // namespace zarn
