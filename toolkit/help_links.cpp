#include "help_links.h"

#include "path_helpers.h"
#include "text_helpers.h"

namespace toolkit {

namespace {

const QString webAddress = QStringLiteral("https://www.nortide.example");
const QString siteName = QStringLiteral("www.nortide.example");

} // namespace

QString makerWebAddress()
{
    return webAddress;
}

QString makerSiteName()
{
    return siteName;
}

QString FindLocalHelpFile(const QString &programFolder)
{
    const QString folder = AddTrailingBackslash(programFolder);
    // The sub-folder varies slowest, then the name, then the ending.
    for (const QString &subFolder : {QString(), QStringLiteral("hilfe/")}) {
        for (const QString &name : {QStringLiteral("index"), QStringLiteral("hilfe")}) {
            for (const QString &ending : {QStringLiteral(".htm"), QStringLiteral(".html")}) {
                const QString candidate = folder + subFolder + name + ending;
                if (FileExists(candidate))
                    return candidate;
            }
        }
    }
    return QString();
}

void ShowHelp(const Product &product, const QString &programFolder, Shell &shell,
              MessageBoxes &boxes)
{
    const QString path = FindLocalHelpFile(programFolder);
    if (!path.isEmpty()) {
        OpenWithShell(shell, path, 1);
        return;
    }
    const QString question = FillPlaceholders(
        QStringLiteral("Die aktuelle Anleitung zu ''%1'' ist online bei ") + makerSiteName() +
            QStringLiteral(" verfügbar.\\n\\nKlicken Sie bitte ''OK'', um diese "
                           "Seite jetzt anzeigen zu lassen ..."),
        {product.name});
    if (boxes.showMessage(question, BoxIcon::Information, BoxButtons::OkCancel, BoxAnswer::Ok) ==
        BoxAnswer::Ok)
        OpenProductPage(shell, product);
}

void OpenWithShell(Shell &shell, const QString &target, int showMode)
{
    shell.open(target, showMode == 0 ? 1 : showMode);
}

void OpenMakerSite(Shell &shell)
{
    OpenWithShell(shell, makerWebAddress(), 3);
}

void OpenMakerHome(Shell &shell)
{
    OpenWithShell(shell, makerWebAddress(), 3);
}

QString productPageAddress(const Product &product)
{
    return (makerWebAddress() + QStringLiteral("/?go=") + product.word()).toLower();
}

void OpenProductPage(Shell &shell, const Product &product)
{
    OpenWithShell(shell, productPageAddress(product), 3);
}

QString makerBadgeToolTip()
{
    return QStringLiteral("... created by NORTIDE. Klicken Sie hier, um noch mehr interessante "
                          "Tools kennen zu lernen.");
}

int makerBadgeWidth(int height)
{
    // The aspect ratio of the badge picture.
    return height * 668 / 261;
}

} // namespace toolkit
