#include "app_log.h"

#include "path_helpers.h"

#include <QFile>

namespace toolkit {

namespace {

QString inFolder(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? name : AddTrailingBackslash(folder) + name;
}

} // namespace

void AppLog::AppendLogLine(const QString &line, const QString &file)
{
    if (!file.isEmpty()) {
        const bool hasFolder = file.contains(QLatin1Char('/')) || file.contains(QLatin1Char('\\'));
        m_current = hasFolder ? file : inFolder(m_folder, file);
    }
    if (m_current.isEmpty())
        m_current = inFolder(m_folder, QStringLiteral("Application.log"));

    // Opened per line so another program can read the log between entries; a failure costs
    // only this line.
    QFile log(m_current);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    log.write(line.toUtf8() + "\r\n");
    log.close();
}

} // namespace toolkit
