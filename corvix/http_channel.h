#pragma once
// The transfer channel over QNetworkAccessManager, with a time-out so that a server that stops
// answering ends as a failed transfer.

#include "transfer_channel.h"

#include <QObject>
#include <QPointer>
#include <QStringDecoder>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

namespace corvix {

class HttpChannel : public QObject, public TransferChannel {
    Q_OBJECT
public:
    explicit HttpChannel(QNetworkAccessManager *manager, int timeoutMs = 30000,
                         QObject *parent = nullptr);
    ~HttpChannel() override;

    bool isBusy() const override { return m_busy; }
    void start(const TransferRequest &request) override;
    bool readPiece(QString &piece, int &errorCode, QString &errorText) override;
    int resultCode() const override { return m_resultCode; }
    QString resultText() const override { return m_resultText; }
    void cancel() override;

private:
    void finish();
    void timeOut();
    void dropReply();

    QNetworkAccessManager *m_manager;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    bool m_busy = false;
    bool m_timedOut = false;
    int m_resultCode = 0;
    QString m_resultText;
};

// German text for a network error of Qt; fallback for codes without one of our own.
QString networkErrorText(int code, const QString &fallback);
// The numeric code reported for a time-out.
constexpr int kTimeoutErrorCode = 4;

} // namespace corvix
