#pragma once
// One HTTP transfer channel: at most one request at a time, asynchronous, with a busy flag, a
// state-change notification when the transfer ends and piecewise reading of the reply body.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>

namespace corvix {

struct TransferRequest {
    QUrl url;
    // Sent as HTTP basic authentication with the request itself, never as part of the URL.
    bool authenticate = false;
    QString userName;
    QString password;
    QList<QPair<QByteArray, QByteArray>> headers;
};

class TransferChannel {
public:
    static constexpr int kStateError = 11;
    static constexpr int kStateReplyComplete = 12;
    static constexpr int kPieceSize = 1024;

    virtual ~TransferChannel() = default;

    virtual bool isBusy() const = 0;
    virtual void start(const TransferRequest &request) = 0;
    // The next piece of the reply body (at most kPieceSize bytes) as text; empty when nothing is
    // left. Returns false when the read failed (errorCode/errorText then describe it).
    virtual bool readPiece(QString &piece, int &errorCode, QString &errorText) = 0;
    virtual int resultCode() const = 0;
    virtual QString resultText() const = 0;
    virtual void cancel() = 0;

    // Called with kStateError or kStateReplyComplete when a transfer ends.
    std::function<void(int state)> onStateChanged;
};

} // namespace corvix
