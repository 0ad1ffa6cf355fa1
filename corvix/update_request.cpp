#include "update_request.h"

#include "address_detection.h"
#include "text_helpers.h"

#include <QHash>

namespace corvix {

QString BuildHostList(const QString &hostBox)
{
    QString text = hostBox;
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('\n'));
    const QString pair(2, QLatin1Char('\r'));
    while (text.contains(pair))
        text.replace(pair, QStringLiteral("\r"));
    if (text.startsWith(QLatin1Char('\r')))
        text.remove(0, 1);
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    text.replace(QLatin1Char('\r'), QLatin1Char(','));
    return text;
}

bool TranslateReplyCode(const QString &code, QString &message)
{
    static const QHash<QString, QString> failures{
        {QStringLiteral("badsys"), QStringLiteral("Falsches DynDNS-System verwendet")},
        {QStringLiteral("badagent"), QStringLiteral("Update-Client wurde nicht akzeptiert")},
        {QStringLiteral("badauth"), QStringLiteral("Ihre Login-Daten wurden nicht akzeptiert")},
        {QStringLiteral("!donator"),
         QStringLiteral("Ihre Login-Daten sind für die gewünschte Funktion nicht ausreichend")},
        {QStringLiteral("notfqdn"), QStringLiteral("Fehler im Aufbau des Domainnamens")},
        {QStringLiteral("nohost"),
         QStringLiteral("Dieser Domainname ist unter diesem DynDNS-Dienst unbekannt")},
        {QStringLiteral("!yours"), QStringLiteral("Dieser Domainname gehört nicht zu Ihrem Konto")},
        {QStringLiteral("abuse"),
         QStringLiteral("Dieser Domainname wurde wegen unnötigen IP-Updates gesperrt")},
        {QStringLiteral("numhost"), QStringLiteral("Bitte wenden Sie sich an den DynDNS-Support")},
        {QStringLiteral("dnserr"), QStringLiteral("Bitte wenden Sie sich an den DynDNS-Support")},
        {QStringLiteral("911"), QStringLiteral("Bitte wenden Sie sich an den DynDNS-Support")},
    };
    const QString lower = code.toLower();
    if (lower == QLatin1String("good") || lower == QLatin1String("nochg")) {
        message.clear();
        return true;
    }
    message = failures.value(lower, QStringLiteral("Unbekannte Server-Antwort"));
    return false;
}

QByteArray userAgent()
{
    return QByteArrayLiteral("myclient/1.0 corvix@nortide.example");
}

TransferRequest buildUpdateRequest(const QUrl &endpoint, const AccountValues &values)
{
    const auto encode = [](const QString &value) {
        return QString::fromLatin1(QUrl::toPercentEncoding(value));
    };
    QStringList hosts;
    for (const QString &host : values.hosts.split(QLatin1Char(',')))
        hosts << encode(host);
    const QString query =
        QStringLiteral("hostname=") + hosts.join(QLatin1Char(',')) + QStringLiteral("&myip=") +
        encode(values.address) + QStringLiteral("&wildcard=") +
        toolkit::PickText(values.wildcard ? 1 : 0, {QStringLiteral("OFF"), QStringLiteral("ON")}) +
        QStringLiteral("&mx=") + encode(values.mailExchanger);
    TransferRequest request;
    request.url = endpoint;
    request.url.setQuery(query, QUrl::StrictMode);
    request.authenticate = true;
    request.userName = values.userName;
    request.password = values.password;
    request.headers.append({QByteArrayLiteral("User-Agent"), userAgent()});
    return request;
}

void UpdateRequest::WrapIPandMakeCallToDynDnsViaHTTP(const QString &address)
{
    TransferChannel &channel = *m_context.channels[1];
    if (channel.isBusy())
        return;
    const CorvixForm &form = m_context.form;
    RequestedHosts = BuildHostList(form.FtpTB[2].text());
    AccountValues values;
    values.userName = form.FtpTB[0].text().trimmed();
    values.password = form.FtpTB[1].text().trimmed();
    values.hosts = RequestedHosts;
    values.address = address;
    values.wildcard = form.WildcardChk.isChecked();
    values.mailExchanger = form.FtpTB[3].text().trimmed();
    channel.start(buildUpdateRequest(m_context.provider.updateUrl, values));
}

void UpdateRequest::EvaluateUpdateReply(const QString &reply)
{
    const QStringList hosts = RequestedHosts.split(QLatin1Char(','));
    QString normalised = reply;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = normalised.split(QLatin1Char('\n'));

    QString problems;
    QString summary;
    for (int i = 0; i < hosts.size(); ++i) {
        // A host without a reply line has no outcome: it is reported as not understood.
        const QString code =
            i < lines.size() ? toolkit::GetField(lines.at(i), 1, QString()) : QString();
        QString message;
        if (TranslateReplyCode(code, message)) {
            summary = QStringLiteral("Das IP-Update war nur teilweise erfolgreich");
        } else {
            problems += hosts.at(i) + QStringLiteral(": ") + message + QStringLiteral(" (Code: ") +
                        code + QStringLiteral(")\r\n");
        }
    }
    if (!problems.isEmpty()) {
        if (summary.isEmpty())
            summary = QStringLiteral("Das IP-Update ist fehlgeschlagen");
        m_context.boxes.inform(QStringLiteral("Beim IP-Update gabe es folgende Probleme:\r\n\r\n") +
                               problems);
    } else {
        summary = QStringLiteral("Das Update auf ") + m_context.LastSentAddress +
                  QStringLiteral(" war erfolgreich");
    }
    m_context.ShowStatus(summary);
}

TransferHandling::TransferHandling(CorvixContext &context, AddressDetection &detection,
                                   UpdateRequest &update)
    : m_context(context), m_detection(detection), m_update(update)
{
}

void TransferHandling::connectChannels()
{
    for (int channel = 0; channel < int(m_context.channels.size()); ++channel) {
        m_context.channels[size_t(channel)]->onStateChanged = [this, channel](int state) {
            channelStateChanged(channel, state);
        };
    }
}

void TransferHandling::channelStateChanged(int channel, int state)
{
    TransferChannel &ch = *m_context.channels[size_t(channel)];
    if (state == TransferChannel::kStateError) {
        InetCtrlProcessReceivedData(
            channel, QString::number(ch.resultCode()) + QStringLiteral(": ") + ch.resultText(),
            false);
    } else if (state == TransferChannel::kStateReplyComplete) {
        readCompleteReply(channel);
    }
}

void TransferHandling::readCompleteReply(int channel)
{
    TransferChannel &ch = *m_context.channels[size_t(channel)];
    QString reply;
    for (;;) {
        const int before = reply.size();
        QString piece;
        int errorCode = 0;
        QString errorText;
        if (!ch.readPiece(piece, errorCode, errorText)) {
            // Already reported as a failed transfer; a half-read reply is never evaluated.
            InetCtrlProcessReceivedData(
                channel, QString::number(errorCode) + QStringLiteral(": ") + errorText, false);
            return;
        }
        reply += piece;
        m_context.window.processEvents();
        if (reply.size() == before)
            break;
    }
    InetCtrlProcessReceivedData(channel, reply, true);
}

QString TransferHandling::internetProblemText(const QString &failure)
{
    return QStringLiteral("Beim Zugriff auf das Internet kam es zu ff. Problem:\r\r") + failure +
           QStringLiteral("\r\rGgf. ist Ihre Internetverbindung gestört bzw. unterbrochen.\r"
                          "Ferner könnte das Tool auch durch Ihre Firewall behindert werden.");
}

void TransferHandling::InetCtrlProcessReceivedData(int channel, const QString &text, bool ok)
{
    if (ok) {
        InitWebCom_Part_2(channel, text);
        return;
    }
    m_context.window.beep();
    CancelTransfer(channel);
    if (m_context.stopMonitoring)
        m_context.stopMonitoring();
    m_context.boxes.inform(internetProblemText(text));
}

void TransferHandling::InitWebCom_Part_2(int channel, const QString &text)
{
    if (channel == 0)
        m_detection.decide(text);
    else
        m_update.EvaluateUpdateReply(text);
}

void TransferHandling::CancelTransfer(int channel)
{
    TransferChannel &ch = *m_context.channels[size_t(channel)];
    ch.cancel();
    while (ch.isBusy())
        m_context.window.processEvents();
}

} // namespace corvix
