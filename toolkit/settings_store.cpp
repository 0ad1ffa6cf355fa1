#include "settings_store.h"

#include "ansi_codepage.h"
#include "path_helpers.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

#include <optional>

namespace toolkit {

namespace {

// A profile file as lines, each without its line end.
struct ProfileText {
    QStringList lines;
    bool hadByteOrderMark = false;
};

// Nothing when the file exists but cannot be read: writing would then replace it with a file
// that holds only the new value.
std::optional<ProfileText> loadProfile(const QString &path)
{
    ProfileText text;
    QFile file(path);
    if (!file.exists())
        return text;
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        text.hadByteOrderMark = true;
    }

    // Files written by Windows programs or by hand on Windows are one byte per character; a
    // single byte sequence that is not UTF-8 tells them apart from our own UTF-8 files.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (utf8.hasError())
        decoded = fromAnsi(bytes);

    text.lines = decoded.split(QLatin1Char('\n'));
    // The line end of the last line leaves one empty piece behind.
    if (!text.lines.isEmpty() && text.lines.constLast().isEmpty())
        text.lines.removeLast();
    for (QString &line : text.lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return text;
}

bool isComment(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char(';'));
}

// The name of a section header line, or nothing for any other line.
std::optional<QString> sectionOf(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

std::optional<KeyLine> keyOf(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || isComment(trimmed) || sectionOf(line))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return KeyLine{trimmed.left(equals).trimmed(), trimmed.mid(equals + 1).trimmed()};
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool hasSurroundingQuotes(const QString &value)
{
    if (value.size() < 2)
        return false;
    const QChar first = value.front();
    return (first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first;
}

QString unquoted(const QString &value)
{
    return hasSurroundingQuotes(value) ? value.mid(1, value.size() - 2) : value;
}

// Reading trims blanks and removes one pair of quotes, so a value that would lose either on the
// way back is written inside quotes of its own.
QString storedForm(const QString &value)
{
    if (value.trimmed() != value || hasSurroundingQuotes(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

bool breaksLine(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Names and values that would end their line early or be read as another kind of line would
// damage the file for every later reader, so they are refused instead of written.
bool writable(const QString &section, const QString &key, const QString &value)
{
    const QString trimmedKey = key.trimmed();
    return !breaksLine(section) && !breaksLine(key) && !breaksLine(value) &&
           !section.contains(QLatin1Char(']')) && !trimmedKey.isEmpty() &&
           !trimmedKey.contains(QLatin1Char('=')) && !isComment(trimmedKey) &&
           !trimmedKey.startsWith(QLatin1Char('['));
}

bool saveProfile(const QString &path, const ProfileText &text, bool ownerOnly)
{
    QByteArray bytes;
    if (text.hadByteOrderMark)
        bytes = "\xEF\xBB\xBF";
    for (const QString &line : text.lines)
        bytes += line.toUtf8() + "\r\n";

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Set before the first byte is written, so login data is never readable by others, not
    // even in the temporary file.
    if (ownerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

namespace profile {

QString readValue(const QString &file, const QString &section, const QString &key,
                  const QString &defaultValue)
{
    const auto text = loadProfile(file);
    if (!text)
        return defaultValue;
    bool inSection = false;
    for (const QString &line : text->lines) {
        if (const auto name = sectionOf(line)) {
            // Like the system's reader, only the first section of a name counts.
            if (inSection)
                return defaultValue;
            inSection = sameName(*name, section.trimmed());
            continue;
        }
        if (!inSection)
            continue;
        if (const auto entry = keyOf(line); entry && sameName(entry->key, key.trimmed()))
            return unquoted(entry->value);
    }
    return defaultValue;
}

bool writeValue(const QString &file, const QString &section, const QString &key,
                const QString &value, bool ownerOnly)
{
    if (!writable(section, key, value))
        return false;
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    const QString stored = storedForm(value);

    const auto loaded = loadProfile(file);
    if (!loaded)
        return false;
    ProfileText text = *loaded;
    qsizetype header = -1;  // line of the section header
    qsizetype lastKey = -1; // last key line of the section
    qsizetype keyLine = -1; // the line of the key itself
    QString keySpelling;
    for (qsizetype i = 0; i < text.lines.size(); ++i) {
        if (const auto name = sectionOf(text.lines.at(i))) {
            if (header >= 0)
                break;
            if (sameName(*name, wantedSection))
                header = i;
            continue;
        }
        if (header < 0)
            continue;
        if (const auto entry = keyOf(text.lines.at(i))) {
            lastKey = i;
            if (sameName(entry->key, wantedKey)) {
                keyLine = i;
                keySpelling = entry->key;
                break;
            }
        }
    }

    if (keyLine >= 0) {
        text.lines[keyLine] = keySpelling + QLatin1Char('=') + stored;
    } else if (header >= 0) {
        const qsizetype at = (lastKey >= 0 ? lastKey : header) + 1;
        text.lines.insert(at, wantedKey + QLatin1Char('=') + stored);
    } else {
        text.lines << QLatin1Char('[') + wantedSection + QLatin1Char(']')
                   << wantedKey + QLatin1Char('=') + stored;
    }
    return saveProfile(file, text, ownerOnly);
}

} // namespace profile

QString IniAccess::ReadIniValue(const QString &section, const QString &key,
                                const QString &defaultValue, const QString &file)
{
    if (!file.isEmpty())
        m_remembered = file;
    if (m_remembered.isEmpty())
        return defaultValue;
    return profile::readValue(m_remembered, section, key, defaultValue);
}

void IniAccess::WriteIniValue(const QString &section, const QString &key, const QString &value,
                              const QString &file)
{
    if (!file.isEmpty())
        m_remembered = file;
    if (m_remembered.isEmpty())
        return;
    profile::writeValue(m_remembered, section, key, value, m_ownerOnly);
}

QString ProgramIniPath(const Product &product)
{
    return DataFolder(product) + product.name + QStringLiteral(".INI");
}

UserSettings::UserSettings(const QString &productName)
    : m_settings(new QSettings(QStringLiteral("Quillon Software"), productName))
{
}

UserSettings::~UserSettings()
{
    delete m_settings;
}

void UserSettings::SaveUserSetting(const QString &name, const QVariant &value)
{
    m_settings->setValue(name, value.toString());
    m_settings->sync();
}

QString UserSettings::LoadUserSetting(const QString &name, const QString &defaultValue)
{
    return m_settings->value(name, defaultValue).toString();
}

TwipPoint centredPosition(QSize screen, QSize window)
{
    // Integer division drops the remainder towards zero, also for a window larger than the
    // screen, which then gets a negative position.
    return TwipPoint{(screen.width() - window.width()) / 2,
                     (screen.height() - window.height()) / 2};
}

TwipPoint restoredPosition(const QString &storedTop, const QString &storedLeft, QSize screen,
                           QSize window)
{
    bool topOk = false;
    bool leftOk = false;
    const int top = storedTop.toInt(&topOk);
    const int left = storedLeft.toInt(&leftOk);
    if (topOk && leftOk && screen.height() > top && screen.width() > left && top >= 0 && left >= 0)
        return TwipPoint{left, top};
    return centredPosition(screen, window);
}

namespace {

const QString &rootName(RegistryRoot root)
{
    static const QString currentUser = QStringLiteral("HKEY_CURRENT_USER");
    static const QString localMachine = QStringLiteral("HKEY_LOCAL_MACHINE");
    return root == RegistryRoot::CurrentUser ? currentUser : localMachine;
}

// QSettings reads '/' and '\' in a key as group separators; a value name may hold either, so it
// is escaped to stay one key.
QString valueKey(const QString &name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%25"))
        .replace(QLatin1Char('/'), QStringLiteral("%2F"))
        .replace(QLatin1Char('\\'), QStringLiteral("%5C"));
    return escaped;
}

QString keyGroup(RegistryRoot root, const QString &keyPath)
{
    QString path = keyPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return rootName(root) + QLatin1Char('/') + path;
}

// Each value is kept as its type number and its data.
std::optional<QStringList> storedValue(const QString &file, RegistryRoot root,
                                       const QString &keyPath, const QString &name)
{
    QSettings store(file, QSettings::IniFormat);
    store.beginGroup(keyGroup(root, keyPath));
    const QString key = valueKey(name);
    if (!store.contains(key))
        return std::nullopt;
    const QStringList stored = store.value(key).toStringList();
    // A value entered by hand without a type is a plain string.
    if (stored.size() == 1)
        return QStringList{QString::number(RegSz), stored.front()};
    if (stored.size() != 2)
        return std::nullopt;
    return stored;
}

} // namespace

Registry::Registry(const QString &storeFile) : m_file(storeFile)
{
    if (m_file.isEmpty())
        m_file = AddTrailingBackslash(
                     QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) +
                 QStringLiteral("Quillon Software/registry.ini");
}

bool Registry::RegistryValueExists(RegistryRoot root, const QString &keyPath,
                                   const QString &name) const
{
    return storedValue(m_file, root, keyPath, name).has_value();
}

QString Registry::ReadRegistryValue(RegistryRoot root, const QString &keyPath,
                                    const QString &name) const
{
    const auto stored = storedValue(m_file, root, keyPath, name);
    return stored ? stored->at(1) : QString();
}

void Registry::WriteRegistryValue(RegistryRoot root, const QString &keyPath, const QString &name,
                                  const QString &data, int type)
{
    QSettings store(m_file, QSettings::IniFormat);
    store.beginGroup(keyGroup(root, keyPath));
    store.setValue(valueKey(name), QStringList{QString::number(type), data});
    store.endGroup();
    store.sync();
}

void Registry::DeleteRegistryValue(RegistryRoot root, const QString &keyPath, const QString &name)
{
    QSettings store(m_file, QSettings::IniFormat);
    store.beginGroup(keyGroup(root, keyPath));
    store.remove(valueKey(name));
    store.endGroup();
    store.sync();
}

} // namespace toolkit
