#pragma once
// Local help, the maker's web links.

#include "message_boxes.h"
#include "product.h"

#include <QString>

namespace toolkit {

QString makerWebAddress(); // scheme and host, no trailing slash
QString makerSiteName();   // the site as named in texts

// The first existing of index.htm, index.html, hilfe.htm, hilfe.html in programFolder, then the
// same four in its sub-folder "hilfe"; empty when there is none.
QString FindLocalHelpFile(const QString &programFolder);
void ShowHelp(const Product &product, const QString &programFolder, Shell &shell,
              MessageBoxes &boxes);
void OpenWithShell(Shell &shell, const QString &target, int showMode);
void OpenMakerSite(Shell &shell);
void OpenMakerHome(Shell &shell);
void OpenProductPage(Shell &shell, const Product &product);
QString productPageAddress(const Product &product);

// Tool tip of the maker badge and the badge width for a given height.
QString makerBadgeToolTip();
int makerBadgeWidth(int height);

} // namespace toolkit
