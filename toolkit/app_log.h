#pragma once
// Append-only log writer: one line per call, opened and closed each time; failures lose the line.

#include <QString>

namespace toolkit {

class AppLog {
public:
    // folder: where bare file names (and the default "Application.log") go; ends in a separator.
    explicit AppLog(const QString &folder) : m_folder(folder) {}

    // file empty: keep the current log. A name holding a path separator is used as it is,
    // a bare name goes into the folder.
    void AppendLogLine(const QString &line, const QString &file = {});
    QString currentPath() const { return m_current; }

private:
    QString m_folder;
    QString m_current;
};

} // namespace toolkit
