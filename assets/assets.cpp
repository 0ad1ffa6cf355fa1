#include "assets.h"

#include <QSize>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerAssetResources()
{
    Q_INIT_RESOURCE(assets);
}

void initAssets()
{
    // Registering twice would add the same tree twice; a function-local flag keeps it to once.
    static const bool registered = [] {
        registerAssetResources();
        return true;
    }();
    Q_UNUSED(registered);
}

QIcon multiSizeIcon(const QString &resourceBase)
{
    initAssets();
    QIcon icon;
    for (int size : {16, 22, 32, 48})
        icon.addFile(QStringLiteral("%1-%2.png").arg(resourceBase).arg(size), QSize(size, size));
    icon.addFile(resourceBase + QStringLiteral(".png"), QSize(256, 256));
    return icon;
}
