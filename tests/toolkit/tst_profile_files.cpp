// Profile files: reading files written on Windows, writes that touch one line only, the
// remembered file, and files that survive a writer that dies or fails half-way.

#include "settings_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace toolkit;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

int modeBits(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 0777);
}

// Written by hand in a Windows editor, saved with LF line ends.
const QByteArray handWritten = "; Einstellungen von Hand\n"
                               "[Common]\n"
                               "Mode = 1\n"
                               "  UserName   =   \"  Max Muster  \"  \n"
                               "Password='geheim'\n"
                               "Empty=\n"
                               "Quoted=\"\"\n"
                               "Half=\"abc\n"
                               "NoEquals\n"
                               ";Commented=yes\n"
                               "\n"
                               "[ ACCOUNT one ]\n"
                               "host = example.org\n";

} // namespace

class ProfileFilesTest : public QObject {
    Q_OBJECT

private slots:
    // A fresh folder for every row.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void readsWindowsStyleFile_data();
    void readsWindowsStyleFile();
    void readsEncodings_data();
    void readsEncodings();
    void writeChangesOnlyItsLine_data();
    void writeChangesOnlyItsLine();
    void valuesSurviveRoundTrip_data();
    void valuesSurviveRoundTrip();
    void refusedWritesLeaveFileAlone_data();
    void refusedWritesLeaveFileAlone();
    void ownerOnlyFiles_data();
    void ownerOnlyFiles();
    void interruptedWriteKeepsOldFile_data();
    void interruptedWriteKeepsOldFile();
    void iniAccessRemembersFile();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void ProfileFilesTest::readsWindowsStyleFile_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("names in other letter case") << "COMMON"
                                                << "mode"
                                                << "1";
    QTest::newRow("blanks and double quotes") << "Common"
                                              << "USERNAME"
                                              << "  Max Muster  ";
    QTest::newRow("single quotes") << "Common"
                                   << "Password"
                                   << "geheim";
    QTest::newRow("present but empty is not the default") << "Common"
                                                          << "Empty"
                                                          << "";
    QTest::newRow("empty quotes") << "Common"
                                  << "Quoted"
                                  << "";
    QTest::newRow("unpaired quote stays") << "Common"
                                          << "Half"
                                          << "\"abc";
    QTest::newRow("line without equals sign") << "Common"
                                              << "NoEquals"
                                              << "<default>";
    QTest::newRow("comment is no key") << "Common"
                                       << "Commented"
                                       << "<default>";
    QTest::newRow("comment marker in key") << "Common"
                                           << ";Commented"
                                           << "<default>";
    QTest::newRow("blanks inside brackets") << "account one"
                                            << "HOST"
                                            << "example.org";
    QTest::newRow("key of another section") << "Common"
                                            << "host"
                                            << "<default>";
    QTest::newRow("missing section") << "Nirgends"
                                     << "Mode"
                                     << "<default>";
}

void ProfileFilesTest::readsWindowsStyleFile()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const QString file = path("Corvix.INI");
    writeBytes(file, handWritten);

    QCOMPARE(profile::readValue(file, section, key, "<default>"), expected);
    QCOMPARE(profile::readValue(path("missing.INI"), section, key, "<default>"), "<default>");
}

void ProfileFilesTest::readsEncodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("UTF-8") << QByteArray("[Common]\r\nOrt=Stra\xc3\x9f"
                                         "e\r\n")
                           << QString::fromUtf8("Straße");
    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBF[Common]\nOrt=\xe2\x82\xac\n") << QString::fromUtf8("€");
    QTest::newRow("Windows-1252") << QByteArray("[Common]\r\nOrt=Stra\xdf"
                                                "e \x80\r\n")
                                  << QString::fromUtf8("Straße €");
    QTest::newRow("last line without line end")
        << QByteArray("[Common]\r\nOrt=Bonn") << QString("Bonn");
}

void ProfileFilesTest::readsEncodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString file = path("enc.INI");
    writeBytes(file, bytes);
    QCOMPARE(profile::readValue(file, "Common", "Ort", "?"), expected);
}

void ProfileFilesTest::writeChangesOnlyItsLine_data()
{
    QTest::addColumn<QByteArray>("before"); // "-" for no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray file = "; Kopf\r\n"
                            "[Common]\r\n"
                            "Mode = 1\r\n"
                            "; mitten drin\r\n"
                            "Server=alt\r\n"
                            "\r\n"
                            "; vor dem Konto\r\n"
                            "[Konto]\r\n"
                            "Host=a.example\r\n";

    QTest::newRow("existing key, its spelling kept")
        << file << "COMMON"
        << "server"
        << "neu"
        << QByteArray("; Kopf\r\n[Common]\r\nMode = 1\r\n; mitten drin\r\nServer=neu\r\n\r\n"
                      "; vor dem Konto\r\n[Konto]\r\nHost=a.example\r\n");
    QTest::newRow("new key after the last key line")
        << file << "Common"
        << "Port"
        << "80"
        << QByteArray("; Kopf\r\n[Common]\r\nMode = 1\r\n; mitten drin\r\nServer=alt\r\nPort=80\r\n"
                      "\r\n; vor dem Konto\r\n[Konto]\r\nHost=a.example\r\n");
    QTest::newRow("new section at the end") << file << "Neu"
                                            << "A"
                                            << "b" << file + "[Neu]\r\nA=b\r\n";
    QTest::newRow("empty value is no deletion")
        << file << "Konto"
        << "Host"
        << ""
        << QByteArray("; Kopf\r\n[Common]\r\nMode = 1\r\n; mitten drin\r\nServer=alt\r\n\r\n"
                      "; vor dem Konto\r\n[Konto]\r\nHost=\r\n");
    QTest::newRow("section without keys")
        << QByteArray("[Leer]\r\n[Common]\r\nA=1\r\n") << "leer"
        << "B"
        << "2" << QByteArray("[Leer]\r\nB=2\r\n[Common]\r\nA=1\r\n");
    QTest::newRow("missing file is created") << QByteArray("-") << "Common"
                                             << "Mode"
                                             << "1" << QByteArray("[Common]\r\nMode=1\r\n");
    QTest::newRow("LF lines come back as CR LF") << QByteArray("[Common]\nA=1\n; x\n") << "Common"
                                                 << "A"
                                                 << "2" << QByteArray("[Common]\r\nA=2\r\n; x\r\n");
    QTest::newRow("byte-order mark kept")
        << QByteArray("\xEF\xBB\xBF[Common]\r\nA=1\r\n") << "Common"
        << "A"
        << "2" << QByteArray("\xEF\xBB\xBF[Common]\r\nA=2\r\n");
    QTest::newRow("Windows-1252 file comes back as UTF-8")
        << QByteArray("[Common]\r\nOrt=K\xf6ln\r\nA=1\r\n") << "Common"
        << "A"
        << "2" << QByteArray("[Common]\r\nOrt=K\xc3\xb6ln\r\nA=2\r\n");
}

void ProfileFilesTest::writeChangesOnlyItsLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    const QString file = path("write.INI");
    if (before != "-")
        writeBytes(file, before);

    QVERIFY(profile::writeValue(file, section, key, value));
    QCOMPARE(readBytes(file), after);
    QCOMPARE(profile::readValue(file, section, key, "<default>"), value);
}

void ProfileFilesTest::valuesSurviveRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "abc";
    QTest::newRow("leading and trailing blanks") << "  abc ";
    QTest::newRow("surrounded by double quotes") << "\"abc\"";
    QTest::newRow("surrounded by single quotes") << "'abc'";
    QTest::newRow("equals signs and semicolon") << "a=b;c";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Grüße €");
}

void ProfileFilesTest::valuesSurviveRoundTrip()
{
    QFETCH(QString, value);
    const QString file = path("round.INI");
    QVERIFY(profile::writeValue(file, "Common", "Wert", value));
    QCOMPARE(profile::readValue(file, "Common", "Wert", "<default>"), value);
}

void ProfileFilesTest::refusedWritesLeaveFileAlone_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    // Each of these would add lines or sections that nobody wrote.
    QTest::newRow("line break in value") << "p.INI"
                                         << "Common"
                                         << "A"
                                         << "x\r\n[Fremd]";
    QTest::newRow("line break in key") << "p.INI"
                                       << "Common"
                                       << "A\nB"
                                       << "x";
    QTest::newRow("equals sign in key") << "p.INI"
                                        << "Common"
                                        << "A=B"
                                        << "x";
    QTest::newRow("bracket in section") << "p.INI"
                                        << "Com]mon"
                                        << "A"
                                        << "x";
    QTest::newRow("empty key") << "p.INI"
                               << "Common"
                               << "  "
                               << "x";
    QTest::newRow("comment key") << "p.INI"
                                 << "Common"
                                 << ";A"
                                 << "x";
    QTest::newRow("folder is gone") << "gone/p.INI"
                                    << "Common"
                                    << "A"
                                    << "x";
}

void ProfileFilesTest::refusedWritesLeaveFileAlone()
{
    QFETCH(QString, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QByteArray original = "[Common]\r\nA=1\r\n";
    writeBytes(path("p.INI"), original);

    QVERIFY(!profile::writeValue(path(file), section, key, value));
    QCOMPARE(readBytes(path("p.INI")), original);
    QVERIFY(!QFileInfo::exists(path("gone")));
}

void ProfileFilesTest::ownerOnlyFiles_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("new file") << false;
    QTest::newRow("existing file readable by all") << true;
}

void ProfileFilesTest::ownerOnlyFiles()
{
    QFETCH(bool, existing);
    const QString file = path("login.INI");
    if (existing) {
        writeBytes(file, "[Common]\r\nA=1\r\n");
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0644) == 0);
    }
    QVERIFY(profile::writeValue(file, "Common", "Password", "0A1B", true));
    QCOMPARE(modeBits(file), 0600);
    QCOMPARE(profile::readValue(file, "Common", "Password", ""), "0A1B");
}

void ProfileFilesTest::interruptedWriteKeepsOldFile_data()
{
    QTest::addColumn<bool>("killed");
    // The size limit is one that applies to administrators as well: the writer either dies of
    // the signal in the middle of writing, or sees its write fail like on a full disk.
    QTest::newRow("writer killed half-way") << true;
    QTest::newRow("write fails half-way") << false;
}

void ProfileFilesTest::interruptedWriteKeepsOldFile()
{
    QFETCH(bool, killed);
    const QString file = path("Corvix.INI");
    QVERIFY(profile::writeValue(file, "Common", "Server", "members.example"));
    QVERIFY(profile::writeValue(file, "Konto", "User", "max"));
    const QByteArray original = readBytes(file);
    const QString bigValue(4 * 1024 * 1024, QLatin1Char('x'));

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        struct rlimit noCore {
            0, 0
        };
        ::setrlimit(RLIMIT_CORE, &noCore);
        struct rlimit size {};
        ::getrlimit(RLIMIT_FSIZE, &size);
        size.rlim_cur = 64 * 1024;
        ::setrlimit(RLIMIT_FSIZE, &size);
        std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
        const bool written = profile::writeValue(file, "Common", "Big", bigValue);
        ::_exit(written ? 0 : 3);
    }

    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    if (killed) {
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGXFSZ);
    } else {
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 3);
    }
    QCOMPARE(readBytes(file), original);
    QCOMPARE(profile::readValue(file, "Common", "Big", "<none>"), "<none>");

    // The next write of the program works as if nothing had happened.
    QVERIFY(profile::writeValue(file, "Common", "Big", "klein"));
    QCOMPARE(profile::readValue(file, "Konto", "User", ""), "max");
}

void ProfileFilesTest::iniAccessRemembersFile()
{
    const QString first = path("first.INI");
    const QString second = path("second.INI");
    IniAccess ini;
    QCOMPARE(ini.ReadIniValue("Common", "A", "start"), "start");
    QVERIFY(!QFileInfo::exists(first));

    ini.WriteIniValue("Common", "A", "1", first);
    QCOMPARE(ini.rememberedFile(), first);
    QCOMPARE(ini.ReadIniValue("Common", "A", ""), "1");

    QCOMPARE(ini.ReadIniValue("Common", "A", "leer", second), "leer");
    ini.WriteIniValue("Common", "A", "2");
    QCOMPARE(ini.rememberedFile(), second);
    QCOMPARE(profile::readValue(second, "Common", "A", ""), "2");
    QCOMPARE(profile::readValue(first, "Common", "A", ""), "1");

    IniAccess secret(true);
    secret.WriteIniValue("Common", "Password", "0A1B", path("secret.INI"));
    QCOMPARE(modeBits(path("secret.INI")), 0600);
}

QTEST_GUILESS_MAIN(ProfileFilesTest)
#include "tst_profile_files.moc"
