#include "ansi_codepage.h"
#include "path_helpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace toolkit;

namespace {

Product product(const QString &name, int major, int minor, int revision)
{
    Product p;
    p.name = name;
    p.major = major;
    p.minor = minor;
    p.revision = revision;
    return p;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString allAnsiCharacters()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(static_cast<char>(b));
    return fromAnsi(bytes);
}

} // namespace

class TstPathHelpers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void addTrailingBackslash();
    void programLocation();
    void dataFolderWritable();
    void dataFolderNotWritable();

    void versionText_data();
    void versionText();
    void toHexPadded();

    void codePage();
    void unscrambleKnownTexts_data();
    void unscrambleKnownTexts();
    void scrambleRoundTripsEveryCharacter();
    void scrambleFormatAndFreshKey();
    void scrambleRefusesForeignCharacters();
    void unscrambleRejectsGarbage_data();
    void unscrambleRejectsGarbage();

    void smallHelpers();
    void fileExists_data();
    void fileExists();
    void folderExists();
    void keepResponsive();
    void errorTexts();
    void writeWholeFile();
    void writeWholeFileFailures();

private:
    QTemporaryDir m_dir;
};

void TstPathHelpers::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString d = m_dir.path() + QLatin1Char('/');
    QVERIFY(writeFile(d + "plain.txt", "x"));
    QVERIFY(writeFile(d + "locked.txt", "x"));
    QVERIFY(QFile::setPermissions(d + "locked.txt", QFileDevice::ReadOwner));
    QVERIFY(writeFile(d + ".hidden", "x"));
    QVERIFY(writeFile(d + "a[1].txt", "x"));
    QVERIFY(QDir(d).mkdir("folder.dir"));
    QVERIFY(QDir(d).mkdir(".hiddenfolder"));
    QVERIFY(writeFile(d + ".hiddenfolder/inside.txt", "x"));
}

void TstPathHelpers::addTrailingBackslash()
{
    QCOMPARE(AddTrailingBackslash(QString()), QStringLiteral("/"));
    QCOMPARE(AddTrailingBackslash(QStringLiteral("/")), QStringLiteral("/"));
    QCOMPARE(AddTrailingBackslash(QStringLiteral("/tmp/a")), QStringLiteral("/tmp/a/"));
    QCOMPARE(AddTrailingBackslash(QStringLiteral("/tmp/a/")), QStringLiteral("/tmp/a/"));
}

void TstPathHelpers::programLocation()
{
    const QString exe = ProgramFilePath();
    QVERIFY(QFileInfo(exe).isExecutable());
    QVERIFY(!exe.endsWith(QStringLiteral(".exe")));
    QCOMPARE(ProgramFolder(), QFileInfo(exe).absolutePath() + QLatin1Char('/'));
}

void TstPathHelpers::dataFolderWritable()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QCOMPARE(dataFolderFor(folder.path(), QStringLiteral("Corvix")), folder.path() + "/");
    // The probe must not stay behind.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void TstPathHelpers::dataFolderNotWritable()
{
    QTemporaryDir config;
    QVERIFY(config.isValid());
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString expected = config.path() + QStringLiteral("/Ambrel/");

    // Nothing, root included, can create a file below a regular file.
    const QString belowFile = m_dir.path() + QStringLiteral("/plain.txt/sub");
    QCOMPARE(dataFolderFor(belowFile, QStringLiteral("Ambrel")), expected);
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(dataFolderFor(QString(), QStringLiteral("Ambrel")), expected);

    if (::geteuid() != 0) {
        QTemporaryDir readOnly;
        QVERIFY(readOnly.isValid());
        QVERIFY(
            QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QCOMPARE(dataFolderFor(readOnly.path(), QStringLiteral("Ambrel")), expected);
        QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner);
    }

    Product ambrel = product(QStringLiteral("Ambrel 2005"), 1, 7, 110);
    const QString data = DataFolder(ambrel);
    QVERIFY(data == ProgramFolder() || data == expected);

    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}

void TstPathHelpers::versionText_data()
{
    QTest::addColumn<int>("revision");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");
    // Corvix 1.0.62, Pellor 1.6.12 and Ambrel 1.7.110 differ in minor and revision only.
    QTest::newRow("Corvix plain") << 62 << 1 << "1.0.62";
    QTest::newRow("Corvix framed, letter") << 62 << 256 << " (V1.0)";
    QTest::newRow("Corvix plain, letter") << 62 << 257 << "1.0";
    QTest::newRow("Corvix framed") << 62 << 0 << " (V1.0.62)";
    QTest::newRow("Corvix brackets") << 62 << 2 << " [V1.0.62]";
    QTest::newRow("Corvix other frame") << 62 << 3 << "";
    QTest::newRow("Corvix other frame, letter") << 62 << 259 << "";
    QTest::newRow("Ambrel framed, letter") << 110 << 256 << " (V1.0a)";
    QTest::newRow("Ambrel plain, letter") << 110 << 257 << "1.0a";
    QTest::newRow("Ambrel brackets, letter") << 110 << 258 << " [V1.0a]";
    QTest::newRow("Ambrel plain") << 110 << 1 << "1.0.110";
    QTest::newRow("exactly 100") << 100 << 257 << "1.0a";
    QTest::newRow("below the half") << 149 << 257 << "1.0a";
    QTest::newRow("tie rounds up to even") << 150 << 257 << "1.0b";
    QTest::newRow("above the half") << 151 << 257 << "1.0b";
    QTest::newRow("tie rounds down to even") << 250 << 257 << "1.0b";
    QTest::newRow("above a tie to even") << 251 << 257 << "1.0c";
    QTest::newRow("99 has no letter") << 99 << 257 << "1.0";
}

void TstPathHelpers::versionText()
{
    QFETCH(int, revision);
    QFETCH(int, flags);
    QFETCH(QString, expected);
    QCOMPARE(ProgramVersionText(product(QStringLiteral("Corvix"), 1, 0, revision), flags),
             expected);
    QCOMPARE(ProgramVersionText(product(QStringLiteral("Pellor"), 1, 6, 12), 2),
             QStringLiteral(" [V1.6.12]"));
    QCOMPARE(ProgramVersionText(product(QStringLiteral("Ambrel 2005"), 1, 7, 110), 256),
             QStringLiteral(" (V1.7a)"));
}

void TstPathHelpers::toHexPadded()
{
    QCOMPARE(ToHexPadded(255, 4), QStringLiteral("00FF"));
    QCOMPARE(ToHexPadded(65535, 2), QStringLiteral("FFFF"));
    QCOMPARE(ToHexPadded(0, 0), QStringLiteral("0"));
    QCOMPARE(ToHexPadded(0xABC, 4), QStringLiteral("0ABC"));
    QCOMPARE(ToHexPadded(-1, 4), QStringLiteral("FFFFFFFF"));
    QCOMPARE(ToHexPadded(-2, 10), QStringLiteral("00FFFFFFFE"));
}

void TstPathHelpers::codePage()
{
    QCOMPARE(ansiChar(0x80), QChar(0x20AC));
    QCOMPARE(ansiChar(0x9F), QChar(0x0178));
    QCOMPARE(ansiChar(0x8D), QChar(0x008D));
    QCOMPARE(ansiChar(0xE4), QChar(0x00E4));
    QCOMPARE(ansiByte(QChar(0x2122)), std::optional<unsigned char>(0x99));
    QCOMPARE(ansiByte(QChar(0x0080)), std::nullopt); // C1 control without a byte of its own
    QCOMPARE(ansiByte(QChar(0x0100)), std::nullopt);

    const QString all = allAnsiCharacters();
    QCOMPARE(all.size(), 256);
    const auto bytes = toAnsi(all);
    QVERIFY(bytes);
    QCOMPARE(bytes->size(), 256);
    for (int b = 0; b < 256; ++b)
        QCOMPARE(static_cast<unsigned char>(bytes->at(b)), static_cast<unsigned char>(b));
    QCOMPARE(firstNonAnsiChar(all), QChar());
    QCOMPARE(firstNonAnsiChar(QStringLiteral("ab\u4E2Dc\u0100")), QChar(0x4E2D));
    QCOMPARE(toAnsi(QStringLiteral("ab\u4E2D")), std::nullopt);
}

void TstPathHelpers::unscrambleKnownTexts_data()
{
    QTest::addColumn<QString>("scrambled");
    QTest::addColumn<QString>("plain");
    QTest::newRow("empty") << "52E6"
                           << "";
    QTest::newRow("one character") << "A0E1269E"
                                   << "A";
    QTest::newRow("eight characters") << "5FA0800065311FE6D2C1310AF77964AF892F"
                                      << "bLume5ee";
    QTest::newRow("umlauts, euro, tab")
        << "DB142891488D2609A3A581010FC3A1A650A97DB4CFEB3B690BEC"
        << QStringLiteral("Gr\u00F6\u00DFe \u00E4\u00F6\u00FC \u20AC\t");
    // Keys whose halving ties at positions 1 and 9 (key 5) and 5 (key 0x3A50) with an even
    // quotient: rounding half up would decode other characters there.
    QTest::newRow("tie at position 1") << "E49B664666F636E9377446F6772DE71A83330005"
                                       << "Kennwort1";
    QTest::newRow("tie at position 5") << "772EDE1092D73C4EDBC478EA4542473001143A50"
                                       << "Zugang!#9";
    QTest::newRow("lower-case digits") << "a0e1269e"
                                       << "A";
}

void TstPathHelpers::unscrambleKnownTexts()
{
    QFETCH(QString, scrambled);
    QFETCH(QString, plain);
    bool ok = false;
    QCOMPARE(ScrambleText(scrambled, false, &ok), plain);
    QVERIFY(ok);
}

void TstPathHelpers::scrambleRoundTripsEveryCharacter()
{
    const QString all = allAnsiCharacters();
    bool ok = false;
    QCOMPARE(ScrambleText(ScrambleText(all, true, &ok), false), all);
    QVERIFY(ok);
    // Each character at each of the eight key positions.
    for (const QChar c : all) {
        const QString text(9, c);
        QCOMPARE(ScrambleText(ScrambleText(text, true), false, &ok), text);
        QVERIFY(ok);
    }
}

void TstPathHelpers::scrambleFormatAndFreshKey()
{
    bool ok = false;
    const QString empty = ScrambleText(QString(), true, &ok);
    QVERIFY(ok);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]{4}$")).match(empty).hasMatch());

    const QString text = QStringLiteral("geheimes Passwort \u00E4\u20AC");
    const QString first = ScrambleText(text, true);
    const QString second = ScrambleText(text, true);
    QCOMPARE(first.size(), (text.size() + 1) * 4);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]+$")).match(first).hasMatch());
    QVERIFY(first != second);
    QCOMPARE(ScrambleText(first, false), text);
    QCOMPARE(ScrambleText(second, false), text);
}

void TstPathHelpers::scrambleRefusesForeignCharacters()
{
    for (const QString &text :
         {QStringLiteral("ab\u4E2D"), QStringLiteral("\u0080"), QStringLiteral("x\U0001F600")}) {
        bool ok = true;
        QCOMPARE(ScrambleText(text, true, &ok), QString());
        QVERIFY(!ok);
    }
}

void TstPathHelpers::unscrambleRejectsGarbage_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("too short") << "52E";
    QTest::newRow("not a multiple of four") << "A0E1269E0";
    QTest::newRow("bad key") << "A0E1269G";
    QTest::newRow("bad group") << "A0-1269E";
    QTest::newRow("blank inside") << "A0E 269E";
    QTest::newRow("sign") << "+0E1269E";
    QTest::newRow("plain text") << "Kennwort";
}

void TstPathHelpers::unscrambleRejectsGarbage()
{
    QFETCH(QString, text);
    bool ok = true;
    QCOMPARE(ScrambleText(text, false, &ok), QString());
    QVERIFY(!ok);
}

void TstPathHelpers::smallHelpers()
{
    QCOMPARE(LimitOrDefault(5, 0, 5, 9), 5);
    QCOMPARE(LimitOrDefault(0, 0, 5, 9), 0);
    QCOMPARE(LimitOrDefault(6, 0, 5, 9), 9);
    QCOMPARE(LimitOrDefault(-1, 0, 5, 9), 9);

    QString folder = QStringLiteral("kept/");
    QString name = QStringLiteral("old");
    SplitPath(QStringLiteral("bare.txt"), folder, name);
    QCOMPARE(folder, QStringLiteral("kept/"));
    QCOMPARE(name, QStringLiteral("bare.txt"));
    SplitPath(QStringLiteral("/a/b/c.txt"), folder, name);
    QCOMPARE(folder, QStringLiteral("/a/b/"));
    QCOMPARE(name, QStringLiteral("c.txt"));
    SplitPath(QStringLiteral("/a/"), folder, name);
    QCOMPARE(folder, QStringLiteral("/a/"));
    QCOMPARE(name, QString());

    QCOMPARE(CutAtNul(QStringLiteral("abc") + QChar(0) + QStringLiteral("def")),
             QStringLiteral("abc"));
    QCOMPARE(CutAtNul(QStringLiteral("abc")), QStringLiteral("abc"));
    QCOMPARE(CutAtNul(QString(QChar(0))), QString());

    QCOMPARE(ConvertSlashes(QStringLiteral("a\\b\\c/d"), 1), QStringLiteral("a/b/c/d"));
    QCOMPARE(ConvertSlashes(QStringLiteral("a/b/c\\d"), 0), QStringLiteral("a\\b\\c\\d"));
    QCOMPARE(ConvertSlashes(QStringLiteral("a/b\\c"), 2), QStringLiteral("a/b\\c"));

    const QString existing = m_dir.path() + QStringLiteral("/plain.txt");
    QCOMPARE(ShortPath(existing), existing);
    QCOMPARE(ShortPath(m_dir.path()), m_dir.path());
    QCOMPARE(ShortPath(m_dir.path() + QStringLiteral("/missing")), QString());
    QCOMPARE(ShortPath(QString()), QString());
}

void TstPathHelpers::fileExists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");
    QTest::newRow("ordinary file") << "plain.txt" << true;
    QTest::newRow("read-only file") << "locked.txt" << true;
    QTest::newRow("hidden file") << ".hidden" << false;
    QTest::newRow("folder") << "folder.dir" << false;
    QTest::newRow("missing") << "missing.txt" << false;
    QTest::newRow("other case") << "PLAIN.TXT" << false;
    QTest::newRow("trailing separator") << "plain.txt/" << false;
    QTest::newRow("below a file") << "plain.txt/x" << false;
    QTest::newRow("star") << "*.txt" << true;
    QTest::newRow("question mark") << "?lain.tx?" << true;
    QTest::newRow("star without match") << "*.none" << false;
    QTest::newRow("wildcard matching a folder only") << "*.dir" << false;
    QTest::newRow("wildcard matching a hidden file only") << ".hid*" << false;
    QTest::newRow("brackets are literal") << "a[1].txt" << true;
    QTest::newRow("brackets are literal with a wildcard") << "a[1]*" << true;
    QTest::newRow("brackets are not a class") << "a[0-9].*" << false;
    QTest::newRow("file in a hidden folder") << ".hiddenfolder/inside.txt" << true;
    QTest::newRow("wildcard in a folder name") << "*/inside.txt" << false;
}

void TstPathHelpers::fileExists()
{
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(FileExists(m_dir.path() + QLatin1Char('/') + name), expected);
}

void TstPathHelpers::folderExists()
{
    QVERIFY(!FileExists(QString()));
    QVERIFY(FolderExists(m_dir.path()));
    QVERIFY(FolderExists(m_dir.path() + QStringLiteral("/folder.dir/")));
    QVERIFY(FolderExists(m_dir.path() + QStringLiteral("/.hiddenfolder")));
    QVERIFY(FolderExists(QStringLiteral("/")));
    QVERIFY(!FolderExists(m_dir.path() + QStringLiteral("/plain.txt")));
    QVERIFY(!FolderExists(m_dir.path() + QStringLiteral("/missing")));
    QVERIFY(!FolderExists(QString()));
}

void TstPathHelpers::keepResponsive()
{
    int delivered = 0;
    const auto post = [&delivered] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&delivered] { ++delivered; }, Qt::QueuedConnection);
    };

    // The counter is shared with every caller: bring it to a known state first.
    post();
    for (int i = 0; i < 4 && delivered == 0; ++i)
        KeepResponsive(3);
    QCOMPARE(delivered, 1);

    post();
    for (int i = 0; i < 3; ++i)
        KeepResponsive(3);
    QCOMPARE(delivered, 1);
    KeepResponsive(3);
    QCOMPARE(delivered, 2);

    // n <= 0 stands for 100: events wait for the 101st call.
    post();
    for (int i = 0; i < 100; ++i)
        KeepResponsive(i % 2 == 0 ? 0 : -5);
    QCOMPARE(delivered, 2);
    KeepResponsive(0);
    QCOMPARE(delivered, 3);
}

void TstPathHelpers::errorTexts()
{
    QCOMPARE(LastErrorText(QStringLiteral("Pfad nicht gefunden"), 76),
             QStringLiteral("Pfad nicht gefunden (Code 76)"));
    QCOMPARE(LastErrnoText(ENOENT), QString::fromLocal8Bit(std::strerror(ENOENT)) +
                                        QStringLiteral(" (Code ") + QString::number(ENOENT) +
                                        QLatin1Char(')'));
}

void TstPathHelpers::writeWholeFile()
{
    const QString path = m_dir.path() + QStringLiteral("/written.inf");
    QVERIFY(writeFile(path, QByteArray(100, 'z')));
    QString error;
    QVERIFY(WriteWholeFile(path, QStringLiteral("[autorun]\r\n\u20AC\u00E4"), &error));
    QCOMPARE(readFile(path), QByteArray("[autorun]\r\n\x80\xE4"));

    QVERIFY(WriteWholeFile(path, QString()));
    QCOMPARE(readFile(path), QByteArray());

    // A read-only file is replaced and does not stay read-only.
    const QString locked = m_dir.path() + QStringLiteral("/locked.inf");
    QVERIFY(writeFile(locked, "old"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    QVERIFY(WriteWholeFile(locked, QStringLiteral("new"), &error));
    QCOMPARE(readFile(locked), QByteArray("new"));
    QVERIFY(QFile::permissions(locked) & QFileDevice::WriteOwner);
}

void TstPathHelpers::writeWholeFileFailures()
{
    const QString path = m_dir.path() + QStringLiteral("/kept.inf");
    QVERIFY(writeFile(path, "kept"));
    QString error;
    QVERIFY(!WriteWholeFile(path, QStringLiteral("new \u4E2D text"), &error));
    QVERIFY2(error.startsWith(QStringLiteral("Zeichen nicht darstellbar: ")), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("U+4E2D")), qPrintable(error));
    QVERIFY2(error.endsWith(QStringLiteral(" (Code %1)").arg(EILSEQ)), qPrintable(error));
    QCOMPARE(readFile(path), QByteArray("kept"));

    const QRegularExpression errorForm(QStringLiteral("^.+ \\(Code -?\\d+\\)$"));
    error.clear();
    QVERIFY(!WriteWholeFile(m_dir.path() + QStringLiteral("/missing/x.inf"), QStringLiteral("x"),
                            &error));
    QVERIFY2(errorForm.match(error).hasMatch(), qPrintable(error));
    QVERIFY(!QFileInfo::exists(m_dir.path() + QStringLiteral("/missing")));

    error.clear();
    QVERIFY(
        !WriteWholeFile(m_dir.path() + QStringLiteral("/folder.dir"), QStringLiteral("x"), &error));
    QVERIFY2(errorForm.match(error).hasMatch(), qPrintable(error));
    QVERIFY(QFileInfo(m_dir.path() + QStringLiteral("/folder.dir")).isDir());
    QVERIFY(!WriteWholeFile(m_dir.path() + QStringLiteral("/folder.dir"), QStringLiteral("x")));
}

QTEST_GUILESS_MAIN(TstPathHelpers)
#include "tst_path_helpers.moc"
