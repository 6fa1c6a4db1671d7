#include "platform/http_transport.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "netdb/xml_load.h"

namespace vex {

namespace {

struct ReplyState {
    bool timedOut = false;
    bool cancelled = false;
    bool tooLarge = false;
    bool finished = false;
};

}  // namespace

QtHttpTransport::QtHttpTransport(QObject* parent)
    : QObject(parent), d_manager(new QNetworkAccessManager(this)) {
    // Certificate errors are never ignored: no sslErrors handler is connected.
}

QtHttpTransport::~QtHttpTransport() {
    if (d_reply) {
        d_reply->disconnect(this);
        d_reply->abort();
    }
}

void QtHttpTransport::get(const std::string& url, const std::string& user,
                          const std::string& password, int timeoutMs, Done done) {
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    if (!user.empty() || !password.empty()) {
        const QByteArray pair =
            QByteArray::fromStdString(user) + ':' + QByteArray::fromStdString(password);
        request.setRawHeader("Authorization", "Basic " + pair.toBase64());
    }
    watch(d_manager->get(request), timeoutMs, std::move(done));
}

void QtHttpTransport::post(const std::string& url, const std::string& soapAction,
                           const std::string& body, int timeoutMs, Done done) {
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "text/xml; charset=utf-8");
    request.setRawHeader("SOAPAction", '"' + QByteArray::fromStdString(soapAction) + '"');
    watch(d_manager->post(request, QByteArray::fromStdString(body)), timeoutMs, std::move(done));
}

void QtHttpTransport::cancel() {
    if (!d_reply) return;
    d_reply->setProperty("vexCancelled", true);
    d_reply->abort();
}

void QtHttpTransport::watch(QNetworkReply* reply, int timeoutMs, Done done) {
    if (d_reply) cancel();  // one exchange at a time
    d_reply = reply;
    auto state = std::make_shared<ReplyState>();
    auto timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, reply, [reply, state] {
        state->timedOut = true;
        reply->abort();
    });
    timer->start(timeoutMs);
    // A huge answer is cut off as it arrives, before it fills the memory.
    connect(reply, &QNetworkReply::downloadProgress, reply,
            [reply, state](qint64 received, qint64) {
                if (received > static_cast<qint64>(netdb::kMaxXmlBytes) && !state->tooLarge) {
                    state->tooLarge = true;
                    reply->abort();
                }
            });
    connect(reply, &QNetworkReply::finished, this, [this, reply, state, done = std::move(done)] {
        if (state->finished) return;
        state->finished = true;
        netdb::HttpReply result;
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.cancelled = reply->property("vexCancelled").toBool();
        result.timedOut = state->timedOut;
        if (!state->tooLarge && !result.cancelled && reply->isOpen())
            result.body = reply->readAll().toStdString();
        if (state->tooLarge) {
            result.tooLarge = true;
            result.error = "the answer is too large";
        } else if (reply->error() != QNetworkReply::NoError) {
            result.error = reply->errorString().toStdString();
        }
        if (d_reply == reply) d_reply = nullptr;
        reply->deleteLater();
        done(std::move(result));
    });
}

}  // namespace vex
