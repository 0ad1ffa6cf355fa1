#pragma once
// The update request of the dynamic-DNS protocol, the provider's reply codes, and the handling
// of a finished transfer that both channels share.

#include "corvix_context.h"

#include <QString>

namespace corvix {

class AddressDetection;

QString BuildHostList(const QString &hostBox);
// True for the two success codes; always sets message (empty for success).
bool TranslateReplyCode(const QString &code, QString &message);

struct AccountValues {
    QString userName;
    QString password;
    QString hosts;
    QString address;
    bool wildcard = false;
    QString mailExchanger;
};
// GET <endpoint>?hostname=..&myip=..&wildcard=ON|OFF&mx=.. with every value percent-encoded
// (the commas between host names stay), the login as basic authentication.
TransferRequest buildUpdateRequest(const QUrl &endpoint, const AccountValues &values);
QByteArray userAgent();

class UpdateRequest {
public:
    explicit UpdateRequest(CorvixContext &context) : m_context(context) {}

    void WrapIPandMakeCallToDynDnsViaHTTP(const QString &address);
    void EvaluateUpdateReply(const QString &reply);

    QString RequestedHosts;

private:
    CorvixContext &m_context;
};

// End of a transfer on either channel.
class TransferHandling {
public:
    TransferHandling(CorvixContext &context, AddressDetection &detection, UpdateRequest &update);

    // Connects the state-change notifications of both channels.
    void connectChannels();
    void channelStateChanged(int channel, int state);
    void InetCtrlProcessReceivedData(int channel, const QString &text, bool ok);
    void InitWebCom_Part_2(int channel, const QString &text);
    void CancelTransfer(int channel);

    static QString internetProblemText(const QString &failure);

private:
    void readCompleteReply(int channel);

    CorvixContext &m_context;
    AddressDetection &m_detection;
    UpdateRequest &m_update;
};

} // namespace corvix
