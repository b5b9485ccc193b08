#pragma once

#include "services/MailMessage.h"
#include "services/Pop3Session.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zarn {

// The mail client `POP`: a Pop3Session on a worker thread of its own, so that the
// window runs while the server is slow. Calls are queued and carried out in order;
// each ends in exactly one finished() on the main thread, unless disconnect() or the
// destructor drops it first. Messages are parsed on the worker too.
//
// Thread contract: construct, call and destroy on the main thread; finished() is
// emitted there. The worker thread owns the session; the queue is guarded by mutex_.
class Pop3Client : public QObject {
    Q_OBJECT
public:
    enum class Request { Connect, Headers, Message };
    struct Result {
        Request request = Request::Connect;
        int number = 0;           // the message, from 1; 0 for Connect
        bool ok = false;
        bool loginDenied = false;
        QString error;            // why it failed, never with the password
        Pop3Listing listing;      // Connect
        MailMessage message;      // Headers, Message
    };

    explicit Pop3Client(Pop3Limits limits = {}, QObject* parent = nullptr);
    ~Pop3Client() override;

    // Drops any connection and queued call, then connects, logs in and lists the mailbox.
    void connectToServer(const Pop3Account& account);
    void fetchHeaders(int n);
    void fetchMessage(int n);
    // Ends the connection (QUIT) and drops the calls not yet finished.
    void disconnectFromServer();
    // Logged in, and no call since has lost the connection.
    bool connected() const { return connected_; }
    QString serverName() const { return serverName_; }
    const Pop3Limits& limits() const { return limits_; }

signals:
    void finished(const zarn::Pop3Client::Result& result);

private:
    struct Job {
        quint64 generation;
        std::function<Result(Pop3Session&)> work;
    };
    void enqueue(Request request, int number, std::function<Result(Pop3Session&)> work);
    // TOP or RETR of message n, its text parsed on the worker.
    void fetch(Request request, int n, Pop3Reply (Pop3Session::*call)(int));
    void workerLoop();
    void deliver(quint64 generation, Result result);

    Pop3Limits limits_;
    bool connected_ = false;  // main thread
    bool hasSession_ = false; // main thread: a session was handed to the worker
    QString serverName_;      // main thread
    quint64 generation_ = 0;  // main thread; results of older generations are dropped

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;                     // guarded by mutex_
    std::unique_ptr<Pop3Session> nextSession_; // guarded by mutex_: replaces the worker's
    bool dropSession_ = false;                 // guarded by mutex_
    bool stopping_ = false;                    // guarded by mutex_
    Pop3Session* running_ = nullptr;           // guarded by mutex_: the one to abort
    std::thread worker_;
};

} // namespace zarn

Q_DECLARE_METATYPE(zarn::Pop3Client::Result)
