#include "provider.h"

namespace corvix {

ProviderConfig defaultProvider()
{
    return {QStringLiteral("DYNDNS"), QUrl(QStringLiteral("http://checkip.dyndns.org/")),
            QUrl(QStringLiteral("https://members.dyndns.org/nic/update/"))};
}

std::optional<QUrl> parseProviderUrl(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    QUrl result = url;
    if (result.path().isEmpty())
        result.setPath(QStringLiteral("/"));
    return result;
}

ProviderConfig readProviderConfig(toolkit::IniAccess &ini, const QString &iniPath,
                                  QStringList *problems)
{
    ProviderConfig config = defaultProvider();
    const auto apply = [&](const char *key, QUrl &target) {
        const QString value =
            ini.ReadIniValue(QStringLiteral("Common"), QLatin1String(key), QString(), iniPath);
        if (value.trimmed().isEmpty())
            return;
        if (const auto url = parseProviderUrl(value))
            target = *url;
        else if (problems)
            *problems << QStringLiteral(
                             "Ungültige Adresse für %1 in der INI-Datei wird ignoriert: %2")
                             .arg(QLatin1String(key), value);
    };
    apply("CheckURL", config.checkUrl);
    apply("UpdateURL", config.updateUrl);
    return config;
}

} // namespace corvix
