#include "services/Pop3Client.h"

#include <QMetaObject>

namespace zarn {

Pop3Client::Pop3Client(Pop3Limits limits, QObject* parent)
    : QObject(parent)
    , limits_(limits)
{
    worker_ = std::thread([this] { workerLoop(); });
}

Pop3Client::~Pop3Client()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
        if (running_)
            running_->abort();
    }
    wake_.notify_all();
    worker_.join();
}

void Pop3Client::connectToServer(const Pop3Account& account)
{
    disconnectFromServer();
    serverName_ = account.host + u':' + QString::number(account.port);
    {
        std::lock_guard lock(mutex_);
        nextSession_ = std::make_unique<Pop3Session>(account, limits_);
    }
    hasSession_ = true;
    enqueue(Request::Connect, 0, [](Pop3Session& s) {
        Result r;
        const Pop3Reply reply = s.list();
        r.ok = reply.ok;
        r.loginDenied = reply.loginDenied;
        r.error = reply.error;
        if (reply.ok)
            r.listing = Pop3Listing::parse(reply.data);
        return r;
    });
}

void Pop3Client::fetchHeaders(int n)
{
    fetch(Request::Headers, n, &Pop3Session::top);
}

void Pop3Client::fetchMessage(int n)
{
    fetch(Request::Message, n, &Pop3Session::retrieve);
}

void Pop3Client::fetch(Request request, int n, Pop3Reply (Pop3Session::*call)(int))
{
    enqueue(request, n, [request, n, call](Pop3Session& s) {
        Result r;
        r.request = request;
        r.number = n;
        const Pop3Reply reply = (s.*call)(n);
        r.ok = reply.ok;
        r.error = reply.error;
        if (reply.ok)
            r.message = MailMessage::parse(reply.data);
        return r;
    });
}

void Pop3Client::disconnectFromServer()
{
    ++generation_;
    connected_ = false;
    hasSession_ = false;
    std::lock_guard lock(mutex_);
    jobs_.clear();
    nextSession_.reset();
    dropSession_ = true;
    if (running_)
        running_->abort();
    wake_.notify_all();
}

void Pop3Client::enqueue(Request request, int number, std::function<Result(Pop3Session&)> work)
{
    if (!hasSession_) {
        Result r;
        r.request = request;
        r.number = number;
        r.error = QStringLiteral("not connected");
        QMetaObject::invokeMethod(
            this, [this, generation = generation_, r] { deliver(generation, r); }, Qt::QueuedConnection);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back({generation_, std::move(work)});
    }
    wake_.notify_all();
}

void Pop3Client::deliver(quint64 generation, Result result)
{
    if (generation != generation_)
        return;
    if (result.request == Request::Connect)
        connected_ = result.ok;
    else if (!result.ok)
        connected_ = false; // libcurl closes a connection whose answer it could not finish
    emit finished(result);
}

void Pop3Client::workerLoop()
{
    std::unique_ptr<Pop3Session> session; // worker thread only
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || dropSession_ || nextSession_ || !jobs_.empty(); });
        if (stopping_)
            break;
        if (dropSession_ || nextSession_) {
            dropSession_ = false;
            std::unique_ptr<Pop3Session> old = std::move(session);
            session = std::move(nextSession_);
            // QUIT to the old server without holding the queue.
            lock.unlock();
            old.reset();
            lock.lock();
            continue;
        }
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        if (!session)
            continue;
        running_ = session.get();
        lock.unlock();
        Result result = job.work(*session);
        lock.lock();
        running_ = nullptr;
        if (stopping_)
            break;
        QMetaObject::invokeMethod(
            this, [this, generation = job.generation, result = std::move(result)]() mutable {
                deliver(generation, std::move(result));
            },
            Qt::QueuedConnection);
    }
    lock.unlock();
    session.reset();
}

} // namespace zarn
