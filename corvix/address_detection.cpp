#include "address_detection.h"

#include "account_settings.h"
#include "text_helpers.h"
#include "update_request.h"

#include <QRegularExpression>

#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace corvix {

namespace {
const QString kNoAddressNetwork = QStringLiteral("Die aktuelle IP konnte nicht ermittelt werden "
                                                 "(Ggf. ist der IP-Server down. Sind Sie online?)");
const QString kNoAddressDirect = QStringLiteral(
    "Die aktuelle IP konnte nicht ermittelt werden (Ist der PC bereits ins Internet eingewählt?)");

QStringList excludedPrefixes()
{
    QStringList prefixes{QStringLiteral("0."),       QStringLiteral("127."),
                         QStringLiteral("10."),      QStringLiteral("192.168."),
                         QStringLiteral("169.254."), QStringLiteral("192.0.2.")};
    for (int second = 16; second <= 31; ++second)
        prefixes << QStringLiteral("172.%1.").arg(second);
    return prefixes;
}
} // namespace

QString CutAddressFromCheckReply(const QString &page)
{
    const QString afterColon = toolkit::GetField(page, 2, QStringLiteral(":"));
    return toolkit::GetField(afterColon, 1, QStringLiteral("<")).trimmed();
}

bool HasPrefix(const QString &text, const QString &prefix)
{
    return text.startsWith(prefix, Qt::CaseSensitive);
}

bool isExcludedAddress(const QString &address)
{
    static const QStringList prefixes = excludedPrefixes();
    for (const QString &prefix : prefixes) {
        if (HasPrefix(address, prefix))
            return true;
    }
    return false;
}

bool isDottedQuad(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(25[0-5]|2[0-4][0-9]|1[0-9]{2}|[1-9]?[0-9])"
                       "(\\.(25[0-5]|2[0-4][0-9]|1[0-9]{2}|[1-9]?[0-9])){3}$"));
    return pattern.match(text).hasMatch();
}

QString firstPublicAddress(const QStringList &addresses)
{
    for (const QString &address : addresses) {
        if (address.isEmpty())
            break;
        if (!isExcludedAddress(address))
            return address;
    }
    return QString();
}

std::optional<QStringList> SystemLocalAddresses::ipv4Addresses(int &errorNumber)
{
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0) {
        errorNumber = errno;
        return std::nullopt;
    }
    QStringList addresses;
    for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET ||
            !(entry->ifa_flags & IFF_UP))
            continue;
        const auto *in = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            addresses << QString::fromLatin1(text);
    }
    freeifaddrs(list);
    return addresses;
}

AddressDetection::AddressDetection(CorvixContext &context, AccountSettings &settings,
                                   LocalAddresses &localAddresses, UpdateRequest &update)
    : m_context(context), m_settings(settings), m_localAddresses(localAddresses), m_update(update)
{
}

void AddressDetection::InitWebCom_Part_1(bool forced)
{
    if (!m_context.form.ThisServiceActiveChk.isChecked() && !forced) {
        m_context.ShowStatus(QStringLiteral("Automatisches IP-Update ist NICHT aktiviert."));
        return;
    }
    if (!m_settings.LoginDataComplete()) {
        m_context.boxes.inform(
            QStringLiteral("Die Angaben über den Server, Ihre Kennung oder das Passwort sind nicht "
                           "vollständig - bitte überprüfen."),
            toolkit::BoxIcon::Error);
        m_context.ShowStatus(QStringLiteral("Bitte Login-Angaben prüfen!"));
        return;
    }
    if (!m_context.form.networkMode()) {
        decide(GetLocalPublicAddress());
        return;
    }
    TransferChannel &check = *m_context.channels[0];
    if (check.isBusy()) {
        m_context.ShowStatus(QStringLiteral("Bitte warten, Tool arbeitet noch"));
        return;
    }
    m_context.ShowStatus(QStringLiteral("Aktuelle IP wird ermittelt"));
    TransferRequest request;
    request.url = m_context.provider.checkUrl;
    check.start(request);
}

void AddressDetection::decide(const QString &text)
{
    const bool network = m_context.form.networkMode();
    const QString address = network ? CutAddressFromCheckReply(text) : text;
    // Only an address is sent as an address: a captive portal or an error page yields nothing.
    if (text.isEmpty() || !isDottedQuad(address)) {
        m_context.ShowStatus(network ? kNoAddressNetwork : kNoAddressDirect);
        return;
    }
    if (address != m_context.LastSentAddress) {
        m_context.LastSentAddress = address;
        m_context.ShowStatus(QStringLiteral("Die aktuelle IP lautet '") + address +
                             QStringLiteral("' ... starte Update ..."));
        m_update.WrapIPandMakeCallToDynDnsViaHTTP(address);
    } else {
        m_context.ShowStatus(QStringLiteral("Die aktuelle IP lautet noch immer '") + address +
                             QStringLiteral("', daher kein Update nötig"));
    }
}

QString AddressDetection::GetLocalPublicAddress()
{
    int errorNumber = 0;
    const std::optional<QStringList> addresses = m_localAddresses.ipv4Addresses(errorNumber);
    if (!addresses) {
        m_context.boxes.inform(QStringLiteral("Socket Error %1 in Prozedur "
                                              "'GetLocalPublicAddress' aufgetreten !")
                                   .arg(errorNumber),
                               toolkit::BoxIcon::Error);
        return QString();
    }
    return firstPublicAddress(*addresses);
}

void AddressDetection::PollLocalAddress()
{
    if (m_pollRunning)
        return;
    m_pollRunning = true;
    const QString current = GetLocalPublicAddress();
    if (!current.isEmpty() && current != LastLocalAddress) {
        m_context.ShowStatus(QStringLiteral("Online"));
        InitWebCom_Part_1(false);
    }
    if (current.isEmpty() && current != LastLocalAddress)
        m_context.ShowStatus(QStringLiteral("Offline"));
    LastLocalAddress = current;
    m_pollRunning = false;
}

} // namespace corvix
