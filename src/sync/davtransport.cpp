#include "sync/davtransport.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkReply>
#include <QTimer>

#include <memory>
#include <vector>

namespace dialvault {

namespace {

SyncStatus networkFailure(QNetworkReply::NetworkError error, const QString &text)
{
    switch (error) {
    case QNetworkReply::SslHandshakeFailedError:
        return {SyncCause::Untrusted, text};
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return {SyncCause::TimedOut, text};
    default:
        return {SyncCause::Unreachable, text};
    }
}

// One request in flight, with its deadlines.
struct Flight
{
    qsizetype index = 0;
    QNetworkReply *reply = nullptr;
    std::unique_ptr<QBuffer> body;
    QTimer stall;
    QElapsedTimer started;
    bool timedOut = false;
    bool cut = false; // past the whole sync's deadline
};

} // namespace

DavTransport::DavTransport(Credentials credentials, DavLimits limits)
    : m_limits(limits)
{
    m_authorization
        = "Basic " + (credentials.user.toUtf8() + ':' + credentials.password.toUtf8()).toBase64();
    // Nothing is asked twice: credentials go with every request, and a
    // refusal is the answer.
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    m_network.setAutoDeleteReplies(false);
}

DavReply DavTransport::send(const DavRequest &request)
{
    return sendAll({request}).value(0);
}

void DavTransport::setDeadline(QDeadlineTimer deadline, const std::atomic<bool> *stop)
{
    m_deadline = deadline;
    m_stop = stop;
}

QList<DavReply> DavTransport::sendAll(const QList<DavRequest> &requests)
{
    QList<DavReply> replies(requests.size());
    std::vector<std::unique_ptr<Flight>> flying;
    qsizetype next = 0;
    QEventLoop loop;
    QTimer overall;
    // A whole sync's deadline, or its stop, is noticed within a tenth of a
    // second: a closing window waits for it.
    const bool bounded = !m_deadline.isForever() || m_stop;
    overall.setInterval(bounded ? 100 : 1000);

    const auto launch = [&]() {
        while (next < requests.size() && qsizetype(flying.size()) < m_limits.parallel) {
            if (pastDeadline()) {
                replies[next++].failure = {SyncCause::DeadlinePassed};
                continue;
            }
            const DavRequest &request = requests.at(next);
            auto flight = std::make_unique<Flight>();
            flight->index = next++;
            QNetworkRequest wire(request.url);
            wire.setRawHeader("Authorization", m_authorization);
            wire.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                              QNetworkRequest::AlwaysNetwork);
            for (const auto &[name, value] : request.headers)
                wire.setRawHeader(name, value);
            flight->body = std::make_unique<QBuffer>();
            flight->body->setData(request.body);
            flight->body->open(QIODevice::ReadOnly);
            flight->reply = m_network.sendCustomRequest(wire, request.method, flight->body.get());
            ++m_sent;
            Flight *raw = flight.get();
            flight->stall.setSingleShot(true);
            flight->stall.setInterval(m_limits.stallMs);
            QObject::connect(&flight->stall, &QTimer::timeout, raw->reply, [raw]() {
                raw->timedOut = true;
                raw->reply->abort();
            });
            const auto alive = [raw]() { raw->stall.start(); };
            QObject::connect(raw->reply, &QNetworkReply::readyRead, &loop, alive);
            QObject::connect(raw->reply, &QNetworkReply::uploadProgress, &loop, alive);
            QObject::connect(raw->reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            flight->stall.start();
            flight->started.start();
            flying.push_back(std::move(flight));
        }
    };

    // Every tick, a request past its own deadline or the sync's is cut.
    QObject::connect(&overall, &QTimer::timeout, &loop, [&]() {
        const bool past = pastDeadline();
        for (const auto &flight : flying) {
            if (flight->reply->isFinished())
                continue;
            if (past) {
                flight->cut = true;
                flight->reply->abort();
            } else if (flight->started.elapsed() > m_limits.requestMs) {
                flight->timedOut = true;
                flight->reply->abort();
            }
        }
    });
    overall.start();
    launch();
    while (!flying.empty()) {
        bool landed = false;
        for (auto it = flying.begin(); it != flying.end();) {
            QNetworkReply *reply = (*it)->reply;
            if (!reply->isFinished()) {
                ++it;
                continue;
            }
            DavReply &answer = replies[(*it)->index];
            answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            // An aborted reply is closed; reading it only warns.
            if (reply->isOpen())
                answer.body = reply->readAll();
            answer.etag = reply->rawHeader("ETag");
            if ((*it)->cut)
                answer.failure = {SyncCause::DeadlinePassed, reply->url().host()};
            else if ((*it)->timedOut)
                answer.failure = {SyncCause::TimedOut, reply->url().host()};
            else if (reply->error() != QNetworkReply::NoError && answer.status == 0)
                answer.failure = networkFailure(reply->error(), reply->errorString());
            delete reply;
            it = flying.erase(it);
            landed = true;
        }
        launch();
        if (!landed && !flying.empty())
            loop.exec();
    }
    return replies;
}

} // namespace dialvault
