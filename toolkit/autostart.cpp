#include "autostart.h"

#include "path_helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

namespace toolkit {

namespace {

// Runs the rest of its arguments after it has removed the entry file named by $0, so the entry
// is gone even when the program it starts never ends.
const QString onceScript = QStringLiteral("rm -f \"$0\"; exec \"$@\"");

const QString desktopGroup = QStringLiteral("[Desktop Entry]");

bool isReservedInExec(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

QString quotedExecArgument(const QString &argument)
{
    bool needsQuotes = argument.isEmpty();
    for (QChar c : argument)
        needsQuotes = needsQuotes || isReservedInExec(c);
    QString result;
    if (needsQuotes) {
        result += QLatin1Char('"');
        for (QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                result += QLatin1Char('\\');
            result += c;
        }
        result += QLatin1Char('"');
    } else {
        result = argument;
    }
    // A lone '%' would start a field code.
    result.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return result;
}

// The escapes of a desktop-file string value, applied on top of the Exec quoting.
QString escapedStringValue(const QString &text)
{
    QString result;
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            result += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            result += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            result += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            result += QStringLiteral("\\r");
        else
            result += c;
    }
    return result;
}

QString unescapedStringValue(const QString &text)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            result += c;
            continue;
        }
        const QChar next = text.at(++i);
        if (next == QLatin1Char('s'))
            result += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            result += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            result += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            result += QLatin1Char('\r');
        else if (next == QLatin1Char('\\'))
            result += QLatin1Char('\\');
        else
            result += QLatin1Char('\\') + QString(next);
    }
    return result;
}

QString withoutFieldEscapes(const QString &argument)
{
    QString result;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        result += argument.at(i);
        if (argument.at(i) == QLatin1Char('%') && i + 1 < argument.size() &&
            argument.at(i + 1) == QLatin1Char('%'))
            ++i;
    }
    return result;
}

// Splits an Exec value, after its string escapes are undone, into program and arguments.
QStringList splitExec(const QString &exec)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size())
                current += exec.at(++i);
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                current += c;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            if (inArgument)
                arguments << withoutFieldEscapes(current);
            current.clear();
            inArgument = false;
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
            inArgument = true;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments << withoutFieldEscapes(current);
    return arguments;
}

// The keys of the [Desktop Entry] group of an entry file.
QHash<QString, QString> desktopEntryKeys(const QString &path)
{
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    bool inGroup = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == desktopGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0)
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

// Entry names may be file paths (one entry per settings file); '/' must not reach the file
// name, and '%' is escaped too so that different names never share a file.
QString entryFileName(const QString &name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%25"))
        .replace(QLatin1Char('/'), QStringLiteral("%2F"));
    return escaped;
}

QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Relative paths are to be ignored.
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString firstConfigDir()
{
    const QStringList dirs =
        qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &dir : dirs) {
        if (QDir::isAbsolutePath(dir))
            return dir;
    }
    return QStringLiteral("/etc/xdg");
}

bool makeWritable(const QString &path)
{
    return QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner |
                                           QFileDevice::WriteUser);
}

bool removeLink(const QString &path)
{
    return QFile::remove(path);
}

} // namespace

QString autostartFolder(bool allUsers)
{
    const QString base = allUsers ? firstConfigDir() : configHome();
    return QDir::cleanPath(base + QStringLiteral("/autostart"));
}

QString autostartFilePath(const QString &name, bool allUsers, bool once)
{
    return autostartFolder(allUsers) + QLatin1Char('/') + entryFileName(name) +
           (once ? QStringLiteral("-once") : QString()) + QStringLiteral(".desktop");
}

QString desktopExecValue(const QStringList &command)
{
    QStringList parts;
    for (const QString &argument : command)
        parts << quotedExecArgument(argument);
    return escapedStringValue(parts.join(QLatin1Char(' ')));
}

bool SetAutostartEntry(const QString &name, const QStringList &command, bool allUsers, bool once)
{
    if (command.isEmpty())
        return false;
    const QString path = autostartFilePath(name, allUsers, once);
    QStringList exec = command;
    if (once)
        exec = QStringList{QStringLiteral("sh"), QStringLiteral("-c"), onceScript, path} + command;

    const QString text = desktopGroup + QLatin1Char('\n') + QStringLiteral("Type=Application\n") +
                         QStringLiteral("Name=") + escapedStringValue(name) + QLatin1Char('\n') +
                         QStringLiteral("Exec=") + desktopExecValue(exec) + QLatin1Char('\n') +
                         QStringLiteral("X-GNOME-Autostart-enabled=true\n");

    if (!QDir().mkpath(autostartFolder(allUsers)))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void DeleteAutostartEntry(const QString &name, bool allUsers, bool once)
{
    QFile::remove(autostartFilePath(name, allUsers, once));
}

bool AutostartEntryExists(const QString &name, bool allUsers, bool once)
{
    const QString path = autostartFilePath(name, allUsers, once);
    if (!QFileInfo(path).isFile())
        return false;
    // A desktop switches an entry off with either key instead of deleting the file; such an
    // entry starts nothing, so the box must not show it as on.
    const QHash<QString, QString> keys = desktopEntryKeys(path);
    return keys.value(QStringLiteral("Hidden")) != QLatin1String("true") &&
           keys.value(QStringLiteral("X-GNOME-Autostart-enabled")) != QLatin1String("false");
}

QStringList AutostartEntryCommand(const QString &name, bool allUsers, bool once)
{
    const QString path = autostartFilePath(name, allUsers, once);
    const QHash<QString, QString> keys = desktopEntryKeys(path);
    QStringList command = splitExec(unescapedStringValue(keys.value(QStringLiteral("Exec"))));
    if (command.size() >= 4 && command.at(0) == QLatin1String("sh") &&
        command.at(1) == QLatin1String("-c") && command.at(2) == onceScript)
        command = command.mid(4);
    return command;
}

void InitAutostartChoice(CheckBox &box, AutostartContext &context)
{
    const QString startup = context.registry.ReadRegistryValue(
        RegistryRoot::CurrentUser, QString::fromLatin1(kShellFoldersKey),
        QStringLiteral("Startup"));
    const QString link =
        AddTrailingBackslash(startup) + context.product.name + QStringLiteral(".lnk");

    if (!startup.isEmpty() && FileExists(link)) {
        const LinkOperation reset =
            context.resetAttributes ? context.resetAttributes : LinkOperation(makeWritable);
        const LinkOperation remove =
            context.removeFile ? context.removeFile : LinkOperation(removeLink);
        if (!reset(link))
            context.boxes.inform(QStringLiteral("Attribute nicht löschbar: ") + link);
        if (!remove(link))
            context.boxes.inform(QStringLiteral("Datei nicht löschbar: ") + link);
        box.tag = QStringLiteral("OK");
        // The link is replaced by an entry even when the box already shows one.
        if (box.isChecked())
            ApplyAutostartChoice(box, context);
        else
            box.setChecked(true);
        return;
    }

    // The tag is set only afterwards, so the change handling of this set-up writes nothing.
    box.setChecked(AutostartEntryExists(context.product.name, false, false));
    box.tag = QStringLiteral("OK");
}

void ApplyAutostartChoice(CheckBox &box, AutostartContext &context)
{
    if (box.tag.isEmpty())
        return;
    if (box.isChecked())
        SetAutostartEntry(context.product.name, context.command, false, false);
    else
        DeleteAutostartEntry(context.product.name, false, false);
}

} // namespace toolkit
