#pragma once
// The dynamic-DNS provider: its service entry, its address-check page and its update endpoint.
// Two optional keys of the "Common" section of the INI file replace the addresses, for other
// providers that speak the same update protocol and for tests.

#include "settings_store.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace corvix {

struct ProviderConfig {
    QString serviceName;
    QUrl checkUrl;
    QUrl updateUrl;
};

ProviderConfig defaultProvider();
// An http or https address with a host, an optional port and path; nothing otherwise.
std::optional<QUrl> parseProviderUrl(const QString &text);
// Reads "CheckURL" and "UpdateURL"; a value that is not a usable address keeps the default and
// adds a German problem text to *problems. The keys are never written.
ProviderConfig readProviderConfig(toolkit::IniAccess &ini, const QString &iniPath,
                                  QStringList *problems = nullptr);

} // namespace corvix
