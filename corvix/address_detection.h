#pragma once
// Finding the PC's public IPv4 address: from the provider's address-check page (network mode) or
// from the machine's own addresses (direct-dial mode), and deciding whether an update is due.

#include "corvix_context.h"
#include "corvix_ports.h"

#include <QString>
#include <QStringList>

namespace corvix {

class AccountSettings;
class UpdateRequest;

QString CutAddressFromCheckReply(const QString &page);
bool HasPrefix(const QString &text, const QString &prefix);
// Private and special ranges that never hold the public address.
bool isExcludedAddress(const QString &address);
// Four decimal numbers from 0 to 255 joined by dots, nothing else.
bool isDottedQuad(const QString &text);
// The first address outside the excluded ranges, or empty.
QString firstPublicAddress(const QStringList &addresses);

// The machine's IPv4 addresses from getifaddrs, interfaces that are up, in the system's order.
class SystemLocalAddresses : public LocalAddresses {
public:
    std::optional<QStringList> ipv4Addresses(int &errorNumber) override;
};

class AddressDetection {
public:
    AddressDetection(CorvixContext &context, AccountSettings &settings,
                     LocalAddresses &localAddresses, UpdateRequest &update);

    void InitWebCom_Part_1(bool forced);
    // The outcome of a determination: the local address or the whole check page.
    void decide(const QString &text);
    QString GetLocalPublicAddress();
    void PollLocalAddress();

    QString LastLocalAddress;

private:
    CorvixContext &m_context;
    AccountSettings &m_settings;
    LocalAddresses &m_localAddresses;
    UpdateRequest &m_update;
    bool m_pollRunning = false;
};

} // namespace corvix
