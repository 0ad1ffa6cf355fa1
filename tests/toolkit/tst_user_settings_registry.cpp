// The per-user settings store, the registry layer and where a restored window goes.

#include "settings_store.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace toolkit;

class UserSettingsRegistryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void userSettingsRoundTrip();
    void registryValues();
    void registryKeepsTypeAndNames();
    void registryDefaultFileFollowsXdgConfigHome();
    void restoredPosition_data();
    void restoredPosition();

private:
    QTemporaryDir m_dir;
};

void UserSettingsRegistryTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath("user"));
}

void UserSettingsRegistryTest::userSettingsRoundTrip()
{
    {
        UserSettings corvix("Corvix");
        QCOMPARE(corvix.LoadUserSetting("_Top", "-1"), "-1");
        corvix.SaveUserSetting("_Top", 1350);
        corvix.SaveUserSetting("_Left", QString("abc"));
        corvix.SaveUserSetting("_Left", -15);
    }
    UserSettings again("Corvix");
    QCOMPARE(again.LoadUserSetting("_Top", "-1"), "1350");
    QCOMPARE(again.LoadUserSetting("_Left", "-1"), "-15");
    // Each product has its own values.
    UserSettings ambrel("Ambrel 2005");
    QCOMPARE(ambrel.LoadUserSetting("_Top", "-1"), "-1");

    QSettings raw("Quillon Software", "Corvix");
    QCOMPARE(raw.value("_Top").toString(), "1350");
}

void UserSettingsRegistryTest::registryValues()
{
    const QString run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    Registry registry(m_dir.filePath("registry.ini"));
    QVERIFY(!registry.RegistryValueExists(RegistryRoot::CurrentUser, run, "Corvix"));
    QCOMPARE(registry.ReadRegistryValue(RegistryRoot::CurrentUser, run, "Corvix"), "");

    const QString command = "/opt/Quillon Software/Corvix/Corvix /AUTOSTART";
    registry.WriteRegistryValue(RegistryRoot::CurrentUser, run, "Corvix", command, RegSz);
    registry.WriteRegistryValue(RegistryRoot::CurrentUser, run, "Leer", "", RegSz);
    QVERIFY(registry.RegistryValueExists(RegistryRoot::CurrentUser, run, "Corvix"));
    QCOMPARE(registry.ReadRegistryValue(RegistryRoot::CurrentUser, run, "Corvix"), command);
    QVERIFY(registry.RegistryValueExists(RegistryRoot::CurrentUser, run, "Leer"));
    QCOMPARE(registry.ReadRegistryValue(RegistryRoot::CurrentUser, run, "Leer"), "");

    // Missing value in an existing key, missing key, same key under the other root.
    QCOMPARE(registry.ReadRegistryValue(RegistryRoot::CurrentUser, run, "Pellor"), "");
    QCOMPARE(registry.ReadRegistryValue(RegistryRoot::CurrentUser, run + "Once", "Corvix"), "");
    QVERIFY(!registry.RegistryValueExists(RegistryRoot::LocalMachine, run, "Corvix"));

    // A second instance over the same file sees the values.
    Registry other(m_dir.filePath("registry.ini"));
    QCOMPARE(other.ReadRegistryValue(RegistryRoot::CurrentUser, run, "Corvix"), command);
    other.DeleteRegistryValue(RegistryRoot::CurrentUser, run, "Corvix");
    other.DeleteRegistryValue(RegistryRoot::CurrentUser, run, "Nie da");
    QVERIFY(!registry.RegistryValueExists(RegistryRoot::CurrentUser, run, "Corvix"));
    QVERIFY(registry.RegistryValueExists(RegistryRoot::CurrentUser, run, "Leer"));
}

void UserSettingsRegistryTest::registryKeepsTypeAndNames()
{
    const QString file = m_dir.filePath("typed.ini");
    Registry registry(file);
    // Pellor names its entries after settings files, so names hold separators.
    const QString name = "/home/max/FTP Einstellungen/Web\\Seite 100%.mprof";
    registry.WriteRegistryValue(RegistryRoot::CurrentUser, "A\\B", name, "x, \"y\"", RegExpandSz);
    registry.WriteRegistryValue(RegistryRoot::CurrentUser, "A\\B", "Zahl", "42", RegDword);
    QCOMPARE(registry.ReadRegistryValue(RegistryRoot::CurrentUser, "A\\B", name), "x, \"y\"");
    QCOMPARE(registry.ReadRegistryValue(RegistryRoot::CurrentUser, "A\\B", "Zahl"), "42");
    QVERIFY(!registry.RegistryValueExists(RegistryRoot::CurrentUser, "A\\B",
                                          "/home/max/FTP Einstellungen"));

    QSettings raw(file, QSettings::IniFormat);
    raw.beginGroup("HKEY_CURRENT_USER/A/B");
    QCOMPARE(raw.childKeys().size(), 2);
    QCOMPARE(raw.value("Zahl").toStringList(), QStringList({"4", "42"}));

    // A value entered by hand without its type reads as a string.
    raw.setValue("Startup", "/home/max/Autostart");
    raw.sync();
    QCOMPARE(registry.ReadRegistryValue(RegistryRoot::CurrentUser, "A\\B", "Startup"),
             "/home/max/Autostart");
}

void UserSettingsRegistryTest::registryDefaultFileFollowsXdgConfigHome()
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath("config")));
    const Registry registry;
    const QString expected = m_dir.filePath("config") + "/Quillon Software/registry.ini";
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(registry.storeFile(), expected);
}

void UserSettingsRegistryTest::restoredPosition_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<int>("expectedLeft");
    QTest::addColumn<int>("expectedTop");

    // Screen 1024 x 768 pixels = 15360 x 11520 twips.
    const QSize window(4515, 3015);
    QTest::newRow("first start centres") << "-1"
                                         << "-1" << window << 5422 << 4252;
    QTest::newRow("top-left corner is a place") << "0"
                                                << "0" << window << 0 << 0;
    QTest::newRow("stored place") << "1350"
                                  << "1800" << window << 1800 << 1350;
    QTest::newRow("corner on screen, window beyond") << "11000"
                                                     << "15000" << window << 15000 << 11000;
    QTest::newRow("left equal to screen width") << "100"
                                                << "15360" << window << 5422 << 4252;
    QTest::newRow("top equal to screen height") << "11520"
                                                << "100" << window << 5422 << 4252;
    QTest::newRow("from a larger screen") << "20000"
                                          << "30000" << window << 5422 << 4252;
    QTest::newRow("negative left") << "100"
                                   << "-15" << window << 5422 << 4252;
    QTest::newRow("not a number") << "oben"
                                  << "100" << window << 5422 << 4252;
    QTest::newRow("fraction is not a whole number") << "100.5"
                                                    << "100" << window << 5422 << 4252;
    QTest::newRow("empty") << ""
                           << "" << window << 5422 << 4252;
    QTest::newRow("window larger than screen, odd difference")
        << "-1"
        << "-1" << QSize(15365, 11525) << -2 << -2;
}

void UserSettingsRegistryTest::restoredPosition()
{
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(QSize, window);
    QFETCH(int, expectedLeft);
    QFETCH(int, expectedTop);
    const TwipPoint place = toolkit::restoredPosition(top, left, QSize(15360, 11520), window);
    QCOMPARE(place.left, expectedLeft);
    QCOMPARE(place.top, expectedTop);
}

QTEST_GUILESS_MAIN(UserSettingsRegistryTest)
#include "tst_user_settings_registry.moc"
