#include "http_channel.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace corvix {

HttpChannel::HttpChannel(QNetworkAccessManager *manager, int timeoutMs, QObject *parent)
    : QObject(parent), m_manager(manager)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(timeoutMs);
    connect(&m_timer, &QTimer::timeout, this, &HttpChannel::timeOut);
}

HttpChannel::~HttpChannel()
{
    dropReply();
}

void HttpChannel::start(const TransferRequest &request)
{
    dropReply();
    QNetworkRequest req(request.url);
    req.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    req.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    for (const auto &header : request.headers)
        req.setRawHeader(header.first, header.second);
    if (request.authenticate) {
        // Sent with the first request: providers answer a request without credentials with a
        // reply code rather than a challenge.
        const QByteArray login = request.userName.toUtf8() + ':' + request.password.toUtf8();
        req.setRawHeader("Authorization", "Basic " + login.toBase64());
        // A redirect must never carry the login to another host.
        req.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    }
    m_busy = true;
    m_timedOut = false;
    m_resultCode = 0;
    m_resultText.clear();
    m_decoder.resetState();
    m_reply = m_manager->get(req);
    connect(m_reply, &QNetworkReply::finished, this, &HttpChannel::finish);
    connect(m_reply, &QNetworkReply::downloadProgress, &m_timer, qOverload<>(&QTimer::start));
    connect(m_reply, &QNetworkReply::uploadProgress, &m_timer, qOverload<>(&QTimer::start));
    m_timer.start();
}

void HttpChannel::finish()
{
    QNetworkReply *reply = m_reply;
    if (!reply || !m_busy)
        return;
    m_timer.stop();
    m_busy = false;
    const QNetworkReply::NetworkError error = reply->error();
    const bool hasHttpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    // A reply from the server counts as complete whatever its HTTP status: the body decides.
    if (error == QNetworkReply::NoError || (hasHttpStatus && !m_timedOut)) {
        if (onStateChanged)
            onStateChanged(kStateReplyComplete);
        return;
    }
    if (m_timedOut) {
        m_resultCode = kTimeoutErrorCode;
        m_resultText = networkErrorText(kTimeoutErrorCode, QString());
    } else {
        m_resultCode = int(error);
        m_resultText = networkErrorText(int(error), reply->errorString());
    }
    if (onStateChanged)
        onStateChanged(kStateError);
}

void HttpChannel::timeOut()
{
    if (!m_reply || !m_busy)
        return;
    m_timedOut = true;
    m_reply->abort(); // emits finished, which reports the failure
}

bool HttpChannel::readPiece(QString &piece, int &errorCode, QString &errorText)
{
    piece.clear();
    if (!m_reply) {
        errorCode = int(QNetworkReply::OperationCanceledError);
        errorText = networkErrorText(errorCode, QString());
        return false;
    }
    const QByteArray bytes = m_reply->read(kPieceSize);
    piece = m_decoder.decode(bytes);
    return true;
}

void HttpChannel::cancel()
{
    m_timer.stop();
    m_busy = false;
    dropReply();
}

void HttpChannel::dropReply()
{
    if (QNetworkReply *reply = m_reply) {
        reply->disconnect(this);
        if (reply->isRunning())
            reply->abort();
        reply->deleteLater();
    }
    m_reply = nullptr;
}

QString networkErrorText(int code, const QString &fallback)
{
    switch (QNetworkReply::NetworkError(code)) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("Die Verbindung wurde vom Server abgelehnt");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("Der Server hat die Verbindung vorzeitig geschlossen");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("Der Servername konnte nicht aufgelöst werden");
    case QNetworkReply::TimeoutError:
        return QStringLiteral("Zeitüberschreitung: Der Server antwortet nicht");
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("Die Übertragung wurde abgebrochen");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Die sichere Verbindung (SSL/TLS) ist fehlgeschlagen, "
                              "z. B. wegen eines ungültigen Zertifikats");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return QStringLiteral("Das Netzwerk ist vorübergehend nicht verfügbar");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QStringLiteral("Der Proxy-Server ist nicht erreichbar");
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("Unbekanntes Protokoll in der Adresse");
    case QNetworkReply::ProtocolFailure:
        return QStringLiteral("Fehler im Übertragungsprotokoll");
    default:
        return fallback.isEmpty() ? QStringLiteral("Unbekannter Netzwerkfehler") : fallback;
    }
}

} // namespace corvix
