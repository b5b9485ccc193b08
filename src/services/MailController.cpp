#include "services/MailController.h"

#include "core/StatusLog.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace zarn {

namespace {

struct SecurityName {
    const char* text;
    Pop3Security security;
};
constexpr SecurityName SecurityNames[] = {
    {"auto", Pop3Security::Auto},
    {"plain", Pop3Security::Plain},
    {"starttls", Pop3Security::StartTls},
    {"tls", Pop3Security::Tls},
};

QString fullDate(const QDateTime& date)
{
    return date.isValid() ? QLocale::system().toString(date, QStringLiteral("dd MMM yyyy hh:mm:ss")) : QString();
}

} // namespace

MailController::MailController(StatusLog& log, Pop3Limits limits, QObject* parent)
    : QObject(parent)
    , log_(log)
    , client_(limits)
{
    connect(&client_, &Pop3Client::finished, this, &MailController::finished);
    applySettings(MailSettings());
}

MailController::~MailController() = default;

std::optional<Pop3Security> MailController::securityFromText(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t.isEmpty())
        return Pop3Security::Auto;
    for (const SecurityName& n : SecurityNames)
        if (t == QLatin1String(n.text))
            return n.security;
    return std::nullopt;
}

void MailController::applySettings(const MailSettings& s)
{
    setServer(s.pop3.serverName, s.pop3Port(), s.pop3.serverUser, s.pop3.serverPassword);
    const std::optional<Pop3Security> security = securityFromText(s.pop3Security);
    if (!security)
        log_.addWarning(QStringLiteral("Zarn.ini: [Pop3] Security \"%1\" is not one of auto, plain, starttls, tls - auto is used")
                            .arg(s.pop3Security));
    account_.security = security.value_or(Pop3Security::Auto);
    account_.checkCertificate = s.pop3CheckCertificate;
    account_.caFile = s.pop3CaFile.trimmed();
}

void MailController::setServer(const QString& host, int port, const QString& user, const QString& password)
{
    account_.host = host.trimmed();
    account_.port = port;
    account_.user = user;
    account_.password = password;
}

void MailController::setStatus(const QString& text)
{
    status_ = text;
    emit statusChanged(text);
}

void MailController::setDownloadEnabled(bool enabled)
{
    downloadEnabled_ = enabled;
    emit downloadEnabledChanged(enabled);
}

void MailController::BMWpanel43Click()
{
    if (busy())
        return;
    emit captionRequested(QStringLiteral(" Mail"));
    setDownloadEnabled(false);
    setStatus(QStringLiteral(" Connecting to ") + account_.host + QStringLiteral("..."));
    phase_ = Phase::Connecting;
    client_.connectToServer(account_);
}

void MailController::finished(const Pop3Client::Result& r)
{
    switch (phase_) {
    case Phase::Connecting:
        if (r.request == Pop3Client::Request::Connect)
            connected(r);
        break;
    case Phase::Listing:
        if (r.request == Pop3Client::Request::Headers && r.number == next_)
            headersArrived(r);
        break;
    case Phase::Opening:
        if (r.request != Pop3Client::Request::Connect)
            messageArrived(r);
        break;
    case Phase::Idle:
        break;
    }
}

void MailController::connected(const Pop3Client::Result& r)
{
    if (!r.ok) {
        phase_ = Phase::Idle;
        const QString server = account_.host + u':' + QString::number(account_.port);
        log_.addError((r.loginDenied ? QStringLiteral("Mail: login to %1 as \"%2\" refused: %3")
                                     : QStringLiteral("Mail: no connection to %1 as \"%2\": %3"))
                          .arg(server, account_.user, r.error));
        setStatus(QStringLiteral(" No Connection to ") + account_.host + QStringLiteral(" - check settings"));
        setDownloadEnabled(true);
        return;
    }
    listing_ = r.listing;
    count_ = int(std::min<qsizetype>(listing_.sizes.size(), std::numeric_limits<int>::max()));
    mailboxKiB_ = listing_.totalBytes() / 1024;
    // The old rows name messages of the previous session: they go, even when none follow.
    rows_.clear();
    emit rowsReset();
    if (count_ <= 0) {
        setStatus(QStringLiteral(" No messages on server"));
        endDownload();
        return;
    }
    phase_ = Phase::Listing;
    next_ = 1;
    listNext();
}

void MailController::listNext()
{
    setStatus(QStringLiteral(" Retrieving messsage %1 of %2").arg(next_).arg(count_));
    client_.fetchHeaders(next_);
}

void MailController::headersArrived(const Pop3Client::Result& r)
{
    if (!r.ok) {
        // The rows so far stay; the status says the list is not whole.
        log_.addError(QStringLiteral("Mail: download from %1 stopped at message %2 of %3: %4")
                          .arg(client_.serverName())
                          .arg(next_)
                          .arg(count_)
                          .arg(r.error));
        setStatus(QStringLiteral(" Download stopped at message %1 of %2").arg(next_).arg(count_));
        endDownload();
        return;
    }
    HeaderRow row{r.message.from, r.message.subject,
                  r.message.date.isValid() ? QLocale::system().toString(r.message.date.date(), QLocale::ShortFormat) : QString()};
    rows_.append(row);
    emit rowAdded(row);
    if (next_ >= count_) {
        setStatus(QStringLiteral(" Download completed"));
        endDownload();
        return;
    }
    ++next_;
    listNext();
}

void MailController::endDownload()
{
    phase_ = Phase::Idle;
    setDownloadEnabled(true);
}

void MailController::lvHeadersClick(int row)
{
    if (busy() || row < 0 || row >= rows_.size())
        return;
    message_ = MessageView();
    emit messageChanged();
    openedDate_ = rows_[row].date;
    setStatus(QStringLiteral(" Retrieving message \"") + openedDate_ + u'"');
    phase_ = Phase::Opening;
    const int n = row + 1;
    oversize_ = n <= listing_.sizes.size() && listing_.sizes[n - 1] > client_.limits().maxMessage;
    if (oversize_)
        client_.fetchHeaders(n);
    else
        client_.fetchMessage(n);
}

void MailController::messageArrived(const Pop3Client::Result& r)
{
    phase_ = Phase::Idle;
    if (!r.ok) {
        log_.addError(QStringLiteral("Mail: message %1 from %2 could not be read: %3")
                          .arg(r.number)
                          .arg(client_.serverName(), r.error));
        setStatus(QStringLiteral(" Message could not be read - ") + r.error);
        return;
    }
    const MailMessage& m = r.message;
    message_.from = m.from;
    message_.recipients = m.to;
    message_.cc = m.cc;
    message_.subject = m.subject;
    message_.date = fullDate(m.date);
    message_.receipt = m.receipt;
    setStatus(QStringLiteral(" Decoding attachments (%1)").arg(m.parts.size()));
    if (oversize_) {
        message_.body = QStringLiteral("This message has %1 KB, more than the %2 KB shown here; its text is not loaded.")
                            .arg(listing_.sizes[r.number - 1] / 1024)
                            .arg(client_.limits().maxMessage / 1024);
    } else {
        message_.body = m.body;
        const QString attachments = m.attachmentList();
        if (!attachments.isEmpty())
            message_.body += (message_.body.isEmpty() ? QString() : QStringLiteral("\n\n")) + attachments;
    }
    emit messageChanged();
    setStatus(QString());
    emit messageReady();
}

} // namespace zarn
