#include "services/Pop3Session.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace zarn {

namespace {

void initCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The answer as it arrives, with the limits checked on every piece.
struct Sink {
    QByteArray data;
    qint64 maxBytes = 0;
    qint64 maxLine = 0;
    qint64 lineLength = 0;
    QString refused; // why the sink stopped taking bytes
    QString serverError; // the server's last -ERR line
    const std::atomic<bool>* aborted = nullptr;
};

size_t writeData(char* ptr, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<Sink*>(user);
    const qint64 n = qint64(size * count);
    if (sink->data.size() + n > sink->maxBytes) {
        sink->refused = QStringLiteral("the answer is larger than %1 KB").arg(sink->maxBytes / 1024);
        return 0;
    }
    for (qint64 i = 0; i < n; ++i) {
        if (ptr[i] == '\n') {
            sink->lineLength = 0;
        } else if (++sink->lineLength > sink->maxLine) {
            sink->refused = QStringLiteral("a line is longer than %1 KB").arg(sink->maxLine / 1024);
            return 0;
        }
    }
    sink->data.append(ptr, n);
    return size * count;
}

// The server's own words when it refuses something ("-ERR [AUTH] Authentication
// failed."). Only what the server sent is looked at; what was sent to it (the PASS line
// among it) never leaves libcurl.
int serverLines(CURL*, curl_infotype type, char* data, size_t size, void* user)
{
    if (type != CURLINFO_HEADER_IN || size < 4 || std::strncmp(data, "-ERR", 4) != 0)
        return 0;
    auto* sink = static_cast<Sink*>(user);
    sink->serverError = QString::fromUtf8(data, qsizetype(std::min<size_t>(size, 300))).trimmed();
    return 0;
}

int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* sink = static_cast<Sink*>(user);
    return sink->aborted->load() ? 1 : 0;
}

bool hostIsUsable(const QString& host)
{
    if (host.isEmpty())
        return false;
    for (const QChar c : host)
        if (c.isSpace() || c == u'/' || c == u'@' || c == u'?' || c == u'#' || c == u'\\' || c.unicode() < 0x21)
            return false;
    return true;
}

} // namespace

struct Pop3Session::Curl {
    CURL* easy = nullptr;
    char error[CURL_ERROR_SIZE] = {};
    ~Curl()
    {
        if (!easy)
            return;
        // QUIT is a courtesy: a server that stopped answering must not hold the end of
        // the session (or of the program) for the full answer timeout.
        curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, 2L);
        curl_easy_cleanup(easy);
    }
};

qint64 Pop3Listing::totalBytes() const
{
    qint64 sum = 0;
    for (qint64 s : sizes)
        sum += s;
    return sum;
}

Pop3Listing Pop3Listing::parse(const QByteArray& listAnswer)
{
    Pop3Listing l;
    for (const QByteArray& raw : listAnswer.split('\n')) {
        const QList<QByteArray> fields = raw.trimmed().split(' ');
        if (fields.size() < 2)
            continue;
        bool okNumber = false, okSize = false;
        fields[0].toInt(&okNumber);
        const qint64 size = fields[1].toLongLong(&okSize);
        if (okNumber && okSize && size >= 0)
            l.sizes.append(size);
    }
    return l;
}

Pop3Session::Pop3Session(Pop3Account account, Pop3Limits limits)
    : account_(std::move(account))
    , limits_(limits)
    , curl_(std::make_unique<Curl>())
{
    initCurl();
}

Pop3Session::~Pop3Session() = default;

QString Pop3Session::serverName() const
{
    return account_.host + u':' + QString::number(account_.port);
}

QString Pop3Session::accountProblem(const Pop3Account& account)
{
    if (!hostIsUsable(account.host))
        return QStringLiteral("the server name \"%1\" is no host name").arg(account.host);
    if (account.port < 1 || account.port > 65535)
        return QStringLiteral("the port %1 is out of range").arg(account.port);
    return {};
}

Pop3Reply Pop3Session::list()
{
    return run(QByteArray(), QByteArray(), limits_.maxHeaders);
}

Pop3Reply Pop3Session::top(int n)
{
    return run(QByteArray(), "TOP " + QByteArray::number(n) + " 0", limits_.maxHeaders);
}

Pop3Reply Pop3Session::retrieve(int n)
{
    return run(QByteArray::number(n), QByteArray(), limits_.maxMessage);
}

Pop3Reply Pop3Session::run(const QByteArray& path, const QByteArray& command, qint64 maxBytes)
{
    Pop3Reply reply;
    if (const QString problem = accountProblem(account_); !problem.isEmpty()) {
        reply.error = problem;
        return reply;
    }
    if (!curl_->easy)
        curl_->easy = curl_easy_init();
    CURL* c = curl_->easy;
    if (!c) {
        reply.error = QStringLiteral("libcurl could not start");
        return reply;
    }
    const bool implicitTls = account_.security == Pop3Security::Tls
                             || (account_.security == Pop3Security::Auto && account_.port == 995);
    QByteArray host = account_.host.toUtf8();
    if (host.contains(':'))
        host = '[' + host + ']';
    const QByteArray url = (implicitTls ? "pop3s://" : "pop3://") + host + ':' + QByteArray::number(account_.port) + '/' + path;
    const QByteArray user = account_.user.toUtf8();
    const QByteArray password = account_.password.toUtf8();
    const QByteArray caFile = account_.caFile.toUtf8();

    Sink sink;
    sink.maxBytes = maxBytes;
    sink.maxLine = limits_.maxLine;
    sink.aborted = &aborted_;

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, command.isEmpty() ? nullptr : command.constData());
    long useSsl = CURLUSESSL_NONE;
    if (account_.security == Pop3Security::StartTls)
        useSsl = CURLUSESSL_ALL;
    else if (account_.security == Pop3Security::Auto && !implicitTls)
        useSsl = CURLUSESSL_TRY;
    curl_easy_setopt(c, CURLOPT_USE_SSL, useSsl);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, account_.checkCertificate ? 1L : 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, account_.checkCertificate ? 2L : 0L);
    if (!caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(limits_.connectSeconds));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(limits_.stallSeconds));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(limits_.stallSeconds));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(limits_.totalSeconds));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &writeData);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &sink);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, curl_->error);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &serverLines);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &sink);
    curl_->error[0] = '\0';

    const CURLcode code = curl_easy_perform(c);
    // Nothing of this call may outlive it inside the handle.
    curl_easy_setopt(c, CURLOPT_PASSWORD, "");
    curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, nullptr);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, nullptr);

    if (code == CURLE_OK) {
        reply.ok = true;
        reply.data = std::move(sink.data);
        return reply;
    }
    reply.loginDenied = code == CURLE_LOGIN_DENIED;
    if (!sink.refused.isEmpty())
        reply.error = sink.refused;
    else if (aborted_)
        reply.error = QStringLiteral("stopped");
    else if (code == CURLE_OPERATION_TIMEDOUT)
        reply.error = QStringLiteral("the server did not answer for %1 s").arg(limits_.stallSeconds);
    else
        reply.error = QString::fromUtf8(curl_->error[0] ? curl_->error : curl_easy_strerror(code));
    // The server's refusal, where it refused rather than this side stopping.
    if (sink.refused.isEmpty() && !aborted_ && code != CURLE_OPERATION_TIMEDOUT && !sink.serverError.isEmpty())
        reply.error += QStringLiteral(" (server: ") + sink.serverError + u')';
    // A server may echo what it was sent; the password stays out of every text.
    if (!account_.password.isEmpty())
        reply.error.replace(account_.password, QStringLiteral("***"));
    return reply;
}

} // namespace zarn
