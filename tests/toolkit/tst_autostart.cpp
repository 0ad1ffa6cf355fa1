// Autostart entries as XDG autostart files, and the autostart check box with the clean-up of the
// old Startup-folder link.

#include "autostart.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <unistd.h>

using namespace toolkit;

namespace {

class RecordingBoxes : public MessageBoxes {
public:
    BoxAnswer showMessage(const QString &text, BoxIcon icon, BoxButtons buttons,
                          BoxAnswer defaultAnswer) override
    {
        shown << text;
        allNotices = allNotices && icon == BoxIcon::Information && buttons == BoxButtons::Ok &&
                     defaultAnswer == BoxAnswer::Ok;
        return BoxAnswer::Ok;
    }
    QStringList shown;
    bool allNotices = true;
};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString execLine(const QString &entryFile)
{
    const QStringList lines = QString::fromUtf8(readBytes(entryFile)).split('\n');
    for (const QString &line : lines) {
        if (line.startsWith("Exec="))
            return line.mid(5);
    }
    return QString();
}

// The arguments as a POSIX shell reads the Exec line. The desktop-entry quoting is the shell's
// double-quote quoting once the string escapes and the doubled '%' are undone, so the shell is
// an independent judge of what the entry will start.
QStringList shellWords(QString exec)
{
    exec.replace("\\\\", "\\").replace("%%", "%");
    QProcess shell;
    shell.start("sh", {"-c", "set -- " + exec + "; for a; do printf '%s\\0' \"$a\"; done"});
    if (!shell.waitForFinished())
        return {"<sh failed>"};
    QStringList words = QString::fromUtf8(shell.readAllStandardOutput()).split(QChar(0));
    words.removeLast();
    return words;
}

} // namespace

class AutostartTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void folders_data();
    void folders();
    void execValueQuoting_data();
    void execValueQuoting();
    void entryRoundTrip_data();
    void entryRoundTrip();
    void onceEntryRemovesItself();
    void disabledEntriesDoNotExist_data();
    void disabledEntriesDoNotExist();
    void entryNamedAfterFilePath();

    void initChoice_data();
    void initChoice();
    void linkInReadOnlyFolder();
    void applyChoice();

private:
    QString config() const { return m_dir->filePath("config"); }
    QString startupFolder() const { return m_dir->filePath("Startmenue/Autostart"); }
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_savedHome;
    QByteArray m_savedConfigHome;
    QByteArray m_savedConfigDirs;
};

void AutostartTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_savedHome = qgetenv("HOME");
    m_savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    m_savedConfigDirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config()));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_dir->filePath("xdg")));
}

void AutostartTest::cleanup()
{
    auto restore = [](const char *name, const QByteArray &value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("HOME", m_savedHome);
    restore("XDG_CONFIG_HOME", m_savedConfigHome);
    restore("XDG_CONFIG_DIRS", m_savedConfigDirs);
    // A folder made read-only by a test must be removable again.
    QFile::setPermissions(startupFolder(),
                          QFile::permissions(startupFolder()) | QFileDevice::WriteOwner);
}

void AutostartTest::folders_data()
{
    QTest::addColumn<QString>("configHome"); // "-" unset
    QTest::addColumn<QString>("configDirs"); // "-" unset
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("allUsers");

    QTest::newRow("set") << "<tmp>/cfg"
                         << "<tmp>/a:<tmp>/b"
                         << "<tmp>/cfg/autostart"
                         << "<tmp>/a/autostart";
    QTest::newRow("unset") << "-"
                           << "-"
                           << "<tmp>/home/.config/autostart"
                           << "/etc/xdg/autostart";
    QTest::newRow("empty and relative are ignored") << ""
                                                    << "rel:<tmp>/b"
                                                    << "<tmp>/home/.config/autostart"
                                                    << "<tmp>/b/autostart";
}

void AutostartTest::folders()
{
    QFETCH(QString, configHome);
    QFETCH(QString, configDirs);
    QFETCH(QString, user);
    QFETCH(QString, allUsers);
    const QString tmp = m_dir->path();
    auto set = [&](const char *name, const QString &value) {
        if (value == "-")
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(QString(value).replace("<tmp>", tmp)));
    };
    set("HOME", "<tmp>/home");
    set("XDG_CONFIG_HOME", configHome);
    set("XDG_CONFIG_DIRS", configDirs);

    QCOMPARE(autostartFolder(false), user.replace("<tmp>", tmp));
    QCOMPARE(autostartFolder(true), allUsers.replace("<tmp>", tmp));
    QCOMPARE(autostartFilePath("Corvix", false, false), user + "/Corvix.desktop");
    QCOMPARE(autostartFilePath("Corvix", true, true), allUsers + "/Corvix-once.desktop");
}

void AutostartTest::execValueQuoting_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("exec");

    QTest::newRow("plain") << QStringList{"/opt/corvix/Corvix", "/AUTOSTART"}
                           << "/opt/corvix/Corvix /AUTOSTART";
    QTest::newRow("blank") << QStringList{"/opt/Quillon Software/Corvix"}
                           << "\"/opt/Quillon Software/Corvix\"";
    QTest::newRow("reserved character without blank")
        << QStringList{"/opt/a&b", "it's"} << "\"/opt/a&b\" \"it's\"";
    QTest::newRow("escaped inside quotes") << QStringList{"/opt/x", "say \"$HOME\" `now`"}
                                           << "/opt/x \"say \\\\\"\\\\$HOME\\\\\" \\\\`now\\\\`\"";
    QTest::newRow("backslash") << QStringList{"/opt/x", "a\\b"} << "/opt/x \"a\\\\\\\\b\"";
    QTest::newRow("percent") << QStringList{"/opt/x", "100%", "50% off"}
                             << "/opt/x 100%% \"50%% off\"";
    QTest::newRow("empty argument") << QStringList{"/opt/x", ""} << "/opt/x \"\"";
}

void AutostartTest::execValueQuoting()
{
    QFETCH(QStringList, command);
    QFETCH(QString, exec);
    QCOMPARE(desktopExecValue(command), exec);
}

void AutostartTest::entryRoundTrip_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<bool>("once");

    const QStringList nasty{"/opt/Quillon Software/Corvix \"neu\"/Cor$vix",
                            "/AUTOSTART",
                            "100% sicher",
                            "a\\b",
                            "it's",
                            "`x`",
                            ""};
    QTest::newRow("simple") << QStringList{"/opt/corvix/Corvix", "/AUTOSTART"} << false;
    QTest::newRow("blanks, quotes, $, %, backslash") << nasty << false;
    QTest::newRow("once entry") << nasty << true;
}

void AutostartTest::entryRoundTrip()
{
    QFETCH(QStringList, command);
    QFETCH(bool, once);
    QVERIFY(!AutostartEntryExists("Corvix", false, once));
    QVERIFY(SetAutostartEntry("Corvix", command, false, once));
    QVERIFY(AutostartEntryExists("Corvix", false, once));
    QVERIFY(!AutostartEntryExists("Corvix", false, !once));
    QCOMPARE(AutostartEntryCommand("Corvix", false, once), command);

    const QString file = autostartFilePath("Corvix", false, once);
    QCOMPARE(QFileInfo(file).path(), config() + "/autostart");
    const QString text = QString::fromUtf8(readBytes(file));
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    for (const QString line : {"Type=Application", "Name=Corvix", "X-GNOME-Autostart-enabled=true"})
        QVERIFY2(text.split('\n').contains(line), qPrintable(line));

    QStringList expectedWords = command;
    if (once)
        expectedWords = QStringList{"sh", "-c", "rm -f \"$0\"; exec \"$@\"", file} + command;
    QCOMPARE(shellWords(execLine(file)), expectedWords);

    DeleteAutostartEntry("Corvix", false, once);
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(!AutostartEntryExists("Corvix", false, once));
    QCOMPARE(AutostartEntryCommand("Corvix", false, once), QStringList());
    DeleteAutostartEntry("Corvix", false, once); // nothing to delete: no harm
}

void AutostartTest::onceEntryRemovesItself()
{
    // The started program sees its entry gone already.
    const QString marker = m_dir->filePath("lief");
    const QString probe = "test -e \"$1\" && echo noch-da > \"$2\" || echo weg > \"$2\"";
    const QString file = autostartFilePath("Pellor", false, true);
    QVERIFY(SetAutostartEntry("Pellor", {"sh", "-c", probe, "sh", file, marker}, false, true));

    QString exec = execLine(file);
    exec.replace("\\\\", "\\").replace("%%", "%");
    QCOMPARE(QProcess::execute("sh", {"-c", exec}), 0);
    QCOMPARE(readBytes(marker), QByteArray("weg\n"));
    QVERIFY(!QFileInfo::exists(file));
}

void AutostartTest::disabledEntriesDoNotExist_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<bool>("exists");
    QTest::newRow("Hidden=true") << QByteArray("Hidden=true\n") << false;
    QTest::newRow("switched off by the desktop")
        << QByteArray("X-GNOME-Autostart-enabled=false\n") << false;
    QTest::newRow("Hidden=false") << QByteArray("Hidden=false\n") << true;
    QTest::newRow("Hidden in another group")
        << QByteArray("[Desktop Action x]\nHidden=true\n") << true;
}

void AutostartTest::disabledEntriesDoNotExist()
{
    QFETCH(QByteArray, extra);
    QFETCH(bool, exists);
    writeBytes(autostartFilePath("Corvix", false, false),
               "[Desktop Entry]\nType=Application\nName=Corvix\nExec=/opt/corvix/Corvix\n" + extra);
    QCOMPARE(AutostartEntryExists("Corvix", false, false), exists);
}

void AutostartTest::entryNamedAfterFilePath()
{
    // Pellor names an entry after its settings file; the name must not leave the folder.
    const QString name = "/home/max/FTP/Web 100%.mprof";
    QVERIFY(SetAutostartEntry(name, {"/opt/pellor/Pellor", name}, false, false));
    QCOMPARE(QDir(config() + "/autostart").entryList(QDir::Files).size(), 1);
    QVERIFY(AutostartEntryExists(name, false, false));
    QVERIFY(!AutostartEntryExists("/home/max/FTP/Web 100%25.mprof", false, false));
    QCOMPARE(AutostartEntryCommand(name, false, false), QStringList({"/opt/pellor/Pellor", name}));
}

void AutostartTest::initChoice_data()
{
    QTest::addColumn<bool>("entryBefore");
    QTest::addColumn<bool>("linkBefore");
    QTest::addColumn<bool>("resetFails");
    QTest::addColumn<bool>("removeFails");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("entryAfter"); // "" none, "old" untouched, "new" written now
    QTest::addColumn<QStringList>("messages");

    const QString link = "<startup>/Corvix.lnk";
    QTest::newRow("entry, no link")
        << true << false << false << false << true << "old" << QStringList();
    QTest::newRow("neither") << false << false << false << false << false << "" << QStringList();
    QTest::newRow("old link") << false << true << false << false << true << "new" << QStringList();
    QTest::newRow("old link and entry")
        << true << true << false << false << true << "new" << QStringList();
    // Small seams stand in for a medium that refuses, which no folder does for an administrator.
    QTest::newRow("link cannot be deleted") << false << true << false << true << true << "new"
                                            << QStringList{"Datei nicht löschbar: " + link};
    QTest::newRow("attributes cannot be reset") << false << true << true << false << true << "new"
                                                << QStringList{"Attribute nicht löschbar: " + link};
    QTest::newRow("both fail") << false << true << true << true << true << "new"
                               << QStringList{"Attribute nicht löschbar: " + link,
                                              "Datei nicht löschbar: " + link};
}

void AutostartTest::initChoice()
{
    QFETCH(bool, entryBefore);
    QFETCH(bool, linkBefore);
    QFETCH(bool, resetFails);
    QFETCH(bool, removeFails);
    QFETCH(bool, checked);
    QFETCH(QString, entryAfter);
    QFETCH(QStringList, messages);

    const Product corvix{"Corvix", "", 1, 0, 62};
    Registry registry(m_dir->filePath("registry.ini"));
    registry.WriteRegistryValue(RegistryRoot::CurrentUser, kShellFoldersKey, "Startup",
                                startupFolder(), RegSz);
    const QString link = startupFolder() + "/Corvix.lnk";
    QVERIFY(QDir().mkpath(startupFolder()));
    if (linkBefore) {
        writeBytes(link, "L\0\0\0");
        // A read-only link is the usual case the attribute reset is there for.
        QVERIFY(QFile::setPermissions(link, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    }
    const QStringList oldCommand{"/alt/Corvix", "/AUTOSTART"};
    const QStringList newCommand{"/opt/Quillon Software/Corvix", "/AUTOSTART"};
    if (entryBefore)
        QVERIFY(SetAutostartEntry("Corvix", oldCommand, false, false));

    RecordingBoxes boxes;
    AutostartContext context{corvix, newCommand, registry, boxes};
    if (resetFails)
        context.resetAttributes = [](const QString &) { return false; };
    if (removeFails)
        context.removeFile = [](const QString &) { return false; };
    CheckBox box;
    int clicks = 0;
    box.onClick = [&] {
        ++clicks;
        ApplyAutostartChoice(box, context);
    };

    InitAutostartChoice(box, context);

    QCOMPARE(box.tag, "OK");
    QCOMPARE(box.isChecked(), checked);
    QCOMPARE(clicks, checked ? 1 : 0);
    for (QString &message : messages)
        message.replace("<startup>", startupFolder());
    QCOMPARE(boxes.shown, messages);
    QVERIFY(boxes.allNotices);
    QCOMPARE(QFileInfo::exists(link), linkBefore && removeFails);
    if (entryAfter.isEmpty()) {
        QVERIFY(!QFileInfo::exists(autostartFilePath("Corvix", false, false)));
        QVERIFY(!QFileInfo::exists(config() + "/autostart"));
    } else {
        QCOMPARE(AutostartEntryCommand("Corvix", false, false),
                 entryAfter == "old" ? oldCommand : newCommand);
    }
}

void AutostartTest::linkInReadOnlyFolder()
{
    if (::geteuid() == 0)
        QSKIP("an administrator deletes files in read-only folders; the seam rows cover this");
    const Product corvix{"Corvix", "", 1, 0, 62};
    Registry registry(m_dir->filePath("registry.ini"));
    registry.WriteRegistryValue(RegistryRoot::CurrentUser, kShellFoldersKey, "Startup",
                                startupFolder(), RegSz);
    const QString link = startupFolder() + "/Corvix.lnk";
    writeBytes(link, "L");
    QVERIFY(QFile::setPermissions(startupFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    RecordingBoxes boxes;
    AutostartContext context{corvix, {"/opt/corvix/Corvix", "/AUTOSTART"}, registry, boxes};
    CheckBox box;
    box.onClick = [&] { ApplyAutostartChoice(box, context); };
    InitAutostartChoice(box, context);

    QCOMPARE(boxes.shown, QStringList{"Datei nicht löschbar: " + link});
    QVERIFY(box.isChecked());
    QVERIFY(AutostartEntryExists("Corvix", false, false));
}

void AutostartTest::applyChoice()
{
    const Product corvix{"Corvix", "", 1, 0, 62};
    Registry registry(m_dir->filePath("registry.ini"));
    RecordingBoxes boxes;
    AutostartContext context{corvix, {"/opt/corvix/Corvix", "/AUTOSTART"}, registry, boxes};
    CheckBox box;
    box.onClick = [&] { ApplyAutostartChoice(box, context); };

    // Before the set-up the box writes nothing.
    box.setChecked(true);
    QVERIFY(!AutostartEntryExists("Corvix", false, false));
    box.setChecked(false);

    InitAutostartChoice(box, context);
    QVERIFY(!box.isChecked());
    box.setChecked(true);
    QCOMPARE(AutostartEntryCommand("Corvix", false, false), context.command);
    box.setChecked(false);
    QVERIFY(!AutostartEntryExists("Corvix", false, false));
    ApplyAutostartChoice(box, context); // unchecked with no entry: nothing happens
    QVERIFY(!AutostartEntryExists("Corvix", false, false));
    QVERIFY(boxes.shown.isEmpty());
}

QTEST_GUILESS_MAIN(AutostartTest)
#include "tst_autostart.moc"
