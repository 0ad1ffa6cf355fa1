#include "path_helpers.h"

#include "ansi_codepage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <limits>

namespace toolkit {

namespace {

constexpr QChar separator = QLatin1Char('/');

// n / 2^shift rounded to the nearest integer, ties to even. Part of the scrambled format, so it is
// done on integers rather than trusting a floating-point rounding mode.
int halveRoundedToEven(int n, int shift)
{
    if (shift == 0)
        return n;
    const int quotient = n >> shift;
    const int remainder = n & ((1 << shift) - 1);
    const int half = 1 << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1)))
        return quotient + 1;
    return quotient;
}

// The key byte for the character at position (from 1).
int keyByte(int key, int position)
{
    return halveRoundedToEven(key, position % 8) & 255;
}

// Four hexadecimal digits from start as a number, or -1 when one is not a hexadecimal digit.
int hexGroup(const QString &text, qsizetype start)
{
    int value = 0;
    for (qsizetype i = start; i < start + 4; ++i) {
        int d = 0;
        const char16_t u = text.at(i).unicode();
        if (u >= '0' && u <= '9')
            d = u - '0';
        else if (u >= 'A' && u <= 'F')
            d = u - 'A' + 10;
        else if (u >= 'a' && u <= 'f')
            d = u - 'a' + 10;
        else
            return -1;
        value = value * 16 + d;
    }
    return value;
}

QString scramble(const QString &text, bool *ok)
{
    const auto bytes = toAnsi(text);
    if (!bytes) {
        *ok = false;
        return {};
    }
    QRandomGenerator *random = QRandomGenerator::global();
    const int key = static_cast<int>(random->bounded(65536u));
    QString result;
    result.reserve((bytes->size() + 1) * 4);
    for (qsizetype i = 0; i < bytes->size(); ++i) {
        const int c = static_cast<unsigned char>(bytes->at(i));
        const int m = (c ^ keyByte(key, static_cast<int>(i + 1))) * 16;
        const int high = static_cast<int>(random->bounded(16u));
        const int low = static_cast<int>(random->bounded(16u));
        result += ToHexPadded(m | (high << 12) | low, 4);
    }
    result += ToHexPadded(key, 4);
    *ok = true;
    return result;
}

QString unscramble(const QString &text, bool *ok)
{
    *ok = false;
    if (text.size() < 4 || text.size() % 4 != 0)
        return {};
    const int key = hexGroup(text, text.size() - 4);
    if (key < 0)
        return {};
    QByteArray bytes;
    for (qsizetype start = 0; start + 4 < text.size(); start += 4) {
        const int group = hexGroup(text, start);
        if (group < 0)
            return {};
        const int m = (group & 4080) / 16;
        bytes.append(static_cast<char>(m ^ keyByte(key, static_cast<int>(bytes.size() + 1))));
    }
    *ok = true;
    return fromAnsi(bytes);
}

// A file-name pattern as a directory listing reads it: only '*' and '?' are wildcards.
QRegularExpression namePattern(const QString &pattern)
{
    QString expression;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('*'))
            expression += QStringLiteral(".*");
        else if (c == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::DotMatchesEverythingOption);
}

bool isOrdinaryFile(const QFileInfo &info)
{
    return info.isFile() && !info.isHidden();
}

} // namespace

QString AddTrailingBackslash(const QString &path)
{
    if (path.endsWith(separator))
        return path;
    return path + separator;
}

QString ProgramFolder()
{
    return AddTrailingBackslash(QCoreApplication::applicationDirPath());
}

QString ProgramFilePath()
{
    return QCoreApplication::applicationFilePath();
}

QString DataFolder(const Product &product)
{
    return dataFolderFor(ProgramFolder(), product.word());
}

QString dataFolderFor(const QString &programFolder, const QString &productWord)
{
    if (!programFolder.isEmpty()) {
        const QString folder = AddTrailingBackslash(programFolder);
        // Permission bits lie (root, read-only mounts, ACLs): only a real write tells.
        QTemporaryFile probe(folder + QStringLiteral(".write-probe-XXXXXX"));
        if (QFileInfo(folder).isDir() && probe.open())
            return folder;
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString folder = AddTrailingBackslash(AddTrailingBackslash(config) + productWord);
    QDir().mkpath(folder);
    return folder;
}

QString ProgramVersionText(const Product &product, int flags)
{
    QString revisionPart;
    if (flags & 256) {
        if (product.revision >= 100) {
            // revision / 100 + 96, ties to even: 150 and 250 both give 'b'.
            const int scaled = product.revision + 9600;
            int letter = scaled / 100;
            const int remainder = scaled % 100;
            if (remainder > 50 || (remainder == 50 && (letter & 1)))
                ++letter;
            revisionPart = QChar(letter);
        }
    } else {
        revisionPart = QLatin1Char('.') + QString::number(product.revision);
    }
    const QString core = QString::number(product.major) + QLatin1Char('.') +
                         QString::number(product.minor) + revisionPart;
    switch (flags & 255) {
    case 0:
        return QStringLiteral(" (V") + core + QLatin1Char(')');
    case 1:
        return core;
    case 2:
        return QStringLiteral(" [V") + core + QLatin1Char(']');
    default:
        return {};
    }
}

QString ToHexPadded(qint64 value, int width)
{
    QString digits;
    if (value >= 0)
        digits = QString::number(value, 16);
    else if (value >= std::numeric_limits<qint32>::min())
        digits = QString::number(static_cast<quint32>(value), 16);
    else
        digits = QString::number(static_cast<quint64>(value), 16);
    digits = digits.toUpper();
    if (digits.size() < width)
        digits.prepend(QString(width - digits.size(), QLatin1Char('0')));
    return digits;
}

QString ScrambleText(const QString &text, bool scramble, bool *ok)
{
    bool success = false;
    const QString result =
        scramble ? toolkit::scramble(text, &success) : unscramble(text, &success);
    if (ok)
        *ok = success;
    return result;
}

int LimitOrDefault(int value, int low, int high, int defaultValue)
{
    return (low <= value && value <= high) ? value : defaultValue;
}

void SplitPath(const QString &path, QString &folder, QString &name)
{
    const qsizetype at = path.lastIndexOf(separator);
    if (at < 0) {
        name = path;
        return;
    }
    folder = path.left(at + 1);
    name = path.mid(at + 1);
}

QString CutAtNul(const QString &text)
{
    const qsizetype at = text.indexOf(QChar(0));
    return at < 0 ? text : text.left(at);
}

QString ConvertSlashes(const QString &path, int mode)
{
    QString result = path;
    if (mode == 0)
        result.replace(QLatin1Char('/'), QLatin1Char('\\'));
    else if (mode == 1)
        result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return result;
}

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const qsizetype at = path.lastIndexOf(separator);
    const QString name = path.mid(at + 1);
    if (name.isEmpty())
        return false;
    if (!name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?')))
        return isOrdinaryFile(QFileInfo(path));

    const QString folder = at < 0 ? QStringLiteral(".") : path.left(at + 1);
    const QRegularExpression pattern = namePattern(name);
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (isOrdinaryFile(entry) && pattern.match(entry.fileName()).hasMatch())
            return true;
    }
    return false;
}

bool FolderExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo(AddTrailingBackslash(path)).isDir();
}

void KeepResponsive(int n)
{
    static int counter = 0;
    if (n <= 0)
        n = 100;
    ++counter;
    if (counter > n) {
        counter = 0;
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
}

QString ShortPath(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    return path;
}

QString LastErrorText(const QString &description, int number)
{
    return description + QStringLiteral(" (Code ") + QString::number(number) + QLatin1Char(')');
}

QString LastErrnoText(int errnoValue)
{
    return LastErrorText(QString::fromLocal8Bit(std::strerror(errnoValue)), errnoValue);
}

bool WriteWholeFile(const QString &path, const QString &text, QString *errorText)
{
    const auto report = [errorText](const QString &message) {
        if (errorText)
            *errorText = message;
        return false;
    };

    const auto bytes = toAnsi(text);
    if (!bytes) {
        const qsizetype at = text.indexOf(firstNonAnsiChar(text));
        const char32_t codePoint = QStringView(text).mid(at).toUcs4().value(0);
        return report(
            LastErrorText(QStringLiteral("Zeichen nicht darstellbar: \"%1\" (U+%2)")
                              .arg(QString::fromUcs4(&codePoint, 1), ToHexPadded(codePoint, 4)),
                          EILSEQ));
    }

    QFileInfo existing(path);
    if (existing.isDir())
        return report(LastErrnoText(EISDIR));
    // A read-only file is replaced like any other, and the copy must not inherit the lock.
    if (existing.exists())
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);

    QSaveFile file(path);
    errno = 0;
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(*bytes) == bytes->size() && file.commit();
    if (!written) {
        // errno names the failure only when Qt's description is the system's text for it.
        const int systemError = errno;
        const QString description = file.errorString();
        const int qtError = static_cast<int>(file.error());
        const bool fromSystem =
            systemError != 0 &&
            description.contains(QString::fromLocal8Bit(std::strerror(systemError)));
        file.cancelWriting();
        return report(LastErrorText(description, fromSystem ? systemError : qtError));
    }
    return true;
}

} // namespace toolkit
