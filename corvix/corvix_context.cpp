#include "corvix_context.h"

namespace corvix {

void CorvixContext::ShowStatus(const QString &text)
{
    form.statusText =
        now().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) + QStringLiteral(": ") + text;
    window.setStatusText(form.statusText);
}

} // namespace corvix
