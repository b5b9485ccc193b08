#pragma once

#include "services/MailMessage.h"
#include "services/MailSettings.h"
#include "services/Pop3Client.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace zarn {

class StatusLog;

// The mail retrieval behind the header list and the message page: " Get Mail" lists the
// headers of every message of the mailbox, choosing a row fetches that message. Nothing
// is deleted on the server or stored here. The network work runs on the client's worker
// thread; this object only sequences it, so the window runs during a download.
//
// Thread contract: main thread only. Signals are emitted on the main thread, from the
// calls below or from the client's results. The texts of the status line are exact.
class MailController : public QObject {
    Q_OBJECT
public:
    struct HeaderRow {
        QString from, subject, date; // date in the system's short date format
        bool operator==(const HeaderRow&) const = default;
    };
    // The message page's fields.
    struct MessageView {
        QString from, recipients, cc, date, subject, receipt, body;
        bool operator==(const MessageView&) const = default;
    };

    explicit MailController(StatusLog& log, Pop3Limits limits = {}, QObject* parent = nullptr);
    ~MailController() override;

    // The mailbox settings read from Zarn.ini; a bad Security value is reported and Auto used.
    void applySettings(const MailSettings& settings);
    // The settings page's fields, taken when it is left (port already a number).
    void setServer(const QString& host, int port, const QString& user, const QString& password);
    const Pop3Account& account() const { return account_; }

    // " Get Mail" (BMWpanel43Click): ignored while a download or message fetch runs.
    void BMWpanel43Click();
    // A row of the header list was chosen (-1: none selected, nothing is fetched).
    void lvHeadersClick(int row);

    bool busy() const { return phase_ != Phase::Idle; }
    bool downloadEnabled() const { return downloadEnabled_; }
    const QString& status() const { return status_; }
    const QList<HeaderRow>& rows() const { return rows_; }
    const MessageView& message() const { return message_; }
    int messageCount() const { return count_; }
    qint64 mailboxKiB() const { return mailboxKiB_; }
    Pop3Client& client() { return client_; }

    // "Security" in [Pop3]: auto, plain, starttls, tls; nullopt for anything else.
    static std::optional<Pop3Security> securityFromText(const QString& text);

signals:
    void captionRequested(const QString& feature); // the header becomes Versiontitle + feature
    void statusChanged(const QString& text);
    void downloadEnabledChanged(bool enabled);     // BMWpanel43 and the header list
    void rowsReset();
    void rowAdded(const zarn::MailController::HeaderRow& row);
    void messageChanged();
    void messageReady();                           // the body becomes a focus stop

private:
    enum class Phase { Idle, Connecting, Listing, Opening };
    void setStatus(const QString& text);
    void setDownloadEnabled(bool enabled);
    void finished(const Pop3Client::Result& r);
    void connected(const Pop3Client::Result& r);
    void headersArrived(const Pop3Client::Result& r);
    void messageArrived(const Pop3Client::Result& r);
    void listNext();
    void endDownload();

    StatusLog& log_;
    Pop3Client client_;
    Pop3Account account_;
    Phase phase_ = Phase::Idle;
    bool downloadEnabled_ = true;
    QString status_ = QStringLiteral(" System ready");
    QList<HeaderRow> rows_;
    MessageView message_;
    Pop3Listing listing_;
    int count_ = 0;
    qint64 mailboxKiB_ = 0;
    int next_ = 0;         // the next message whose headers are listed
    bool oversize_ = false; // the message being opened is too large: only its headers come
    QString openedDate_;
};

} // namespace zarn
