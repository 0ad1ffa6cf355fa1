// The account in Corvix.INI: loading, saving, change handling.

#include "corvix_harness.h"
#include "path_helpers.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

class TestAccountSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartDefaults();
    void roundTrip();
    void fileOfAnotherImplementation();
    void accessMode_data();
    void accessMode();
    void brokenValues();
    void typingPausesMonitoringAndSaves();
    void leavingTrims();
    void blanksCountAsFilled();
    void unstorableCharacterKeepsOldLogin();
    void providerAddressesFromIni();
};

void TestAccountSettings::firstStartDefaults()
{
    CorvixHarness h;
    h.cycle->load({});
    for (const auto &box : h.form().FtpTB)
        QVERIFY(box.text().isEmpty());
    QVERIFY(!h.form().WildcardChk.isChecked());
    QVERIFY(!h.form().ThisServiceActiveChk.isChecked());
    QCOMPARE(h.form().AccessTypOpt.selected(), corvix::CorvixForm::kDirectDial);
    QCOMPARE(h.form().hostLabelText,
             QStringLiteral("Domain-Namen: \r\r(Für jeden einzelnen \rNamen eine eigene \rZeile "
                            "verwenden.) \r"));
    // Loading writes nothing back.
    QVERIFY(!QFile::exists(h.iniPath));
}

void TestAccountSettings::roundTrip()
{
    CorvixHarness h;
    h.cycle->load({});
    h.form().FtpTB[0].setText(QStringLiteral("benutzer"));
    h.form().FtpTB[1].setText(QStringLiteral("Größe€"));
    h.form().FtpTB[2].setText(QStringLiteral("a.example.org\r\nb.example.org"));
    h.form().FtpTB[3].setText(QStringLiteral("mx.example.org"));
    h.form().WildcardChk.setChecked(true);
    h.form().AccessTypOpt.select(corvix::CorvixForm::kNetwork);
    const QString tb = toolkit::profile::readValue(h.iniPath, "DYNDNS", "TB", QString());
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]+$")).match(tb).hasMatch());
    h.cycle->settings().SaveSettings();
    QVERIFY(toolkit::profile::readValue(h.iniPath, "DYNDNS", "TB", QString()) != tb);

    CorvixHarness again(h.dir.path());
    again.cycle->load({});
    for (int i = 0; i < 4; ++i)
        QCOMPARE(again.form().FtpTB[size_t(i)].text(), h.form().FtpTB[size_t(i)].text());
    QVERIFY(again.form().WildcardChk.isChecked());
    QVERIFY(!again.form().ThisServiceActiveChk.isChecked());
    QCOMPARE(again.form().AccessTypOpt.selected(), corvix::CorvixForm::kNetwork);
    QCOMPARE(QFile::permissions(h.iniPath) & (QFile::ReadOther | QFile::ReadGroup),
             QFileDevice::Permissions());
}

void TestAccountSettings::fileOfAnotherImplementation()
{
    CorvixHarness h;
    QFile file(h.iniPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "[DYNDNS]\r\nTB=85D8DC513BE989DC880BC00C958390C1D3C7DC7AAB53480FE91CF138150587D475EEB8E"
        "90B5B59066959717184DC9127E5A468EE7BF809A32930B77E137971C7311EAC577A8EF898899A40AC8"
        "517E1B641140CFA9A2788F7EF747178D45C850ED5A5ED81BB1C8857F84FD16715847501B5067D200B7"
        "9EEB11E7E\r\nWC=0\r\nTSA=1\r\n[Common]\r\nAT=1\r\n");
    file.close();
    h.cycle->load({});
    QCOMPARE(h.form().FtpTB[0].text(), QStringLiteral("benutzer"));
    QCOMPARE(h.form().FtpTB[1].text(), QStringLiteral("geheim"));
    QCOMPARE(h.form().FtpTB[2].text().split(QRegularExpression(QStringLiteral("\r?\n"))),
             (QStringList{"a.example.org", "b.example.org"}));
    QCOMPARE(h.form().FtpTB[3].text(), QStringLiteral("mx.example.org"));
    QVERIFY(!h.form().WildcardChk.isChecked());
    QVERIFY(h.form().ThisServiceActiveChk.isChecked());
    QCOMPARE(h.form().AccessTypOpt.selected(), corvix::CorvixForm::kNetwork);
}

void TestAccountSettings::accessMode_data()
{
    QTest::addColumn<QString>("at");
    QTest::addColumn<int>("selected");
    QTest::newRow("3 is network") << "3" << 1;
    QTest::newRow("2 is direct dial") << "2" << 0;
    QTest::newRow("not a number") << "x" << 0;
}

void TestAccountSettings::accessMode()
{
    QFETCH(QString, at);
    QFETCH(int, selected);
    CorvixHarness h;
    toolkit::profile::writeValue(h.iniPath, "Common", "AT", at);
    h.cycle->load({});
    QCOMPARE(h.form().AccessTypOpt.selected(), selected);
}

void TestAccountSettings::brokenValues()
{
    CorvixHarness h;
    bool ok = false;
    // Three fields only: not a login record.
    toolkit::profile::writeValue(h.iniPath, "DYNDNS", "TB",
                                 toolkit::ScrambleText(QStringLiteral("a\x03"
                                                                      "b\x03"
                                                                      "c"),
                                                       true, &ok));
    toolkit::profile::writeValue(h.iniPath, "DYNDNS", "WC", "ja");
    toolkit::profile::writeValue(h.iniPath, "DYNDNS", "TSA", "7");
    h.cycle->load({});
    for (const auto &box : h.form().FtpTB)
        QVERIFY(box.text().isEmpty());
    QVERIFY(!h.form().WildcardChk.isChecked());
    QVERIFY(h.form().ThisServiceActiveChk.isChecked()); // any number but 0 checks the box

    CorvixHarness garbage;
    toolkit::profile::writeValue(garbage.iniPath, "DYNDNS", "TB", "kein Hex");
    garbage.cycle->load({});
    QVERIFY(garbage.form().FtpTB[0].text().isEmpty());
}

void TestAccountSettings::typingPausesMonitoringAndSaves()
{
    CorvixHarness h;
    h.cycle->load({});
    h.cycle->StartMonitoring();
    h.form().FtpTB[1].setText(QStringLiteral("g"));
    QVERIFY(!h.form().AppActiveChk.isChecked());
    QCOMPARE(h.window.lastStatus(), QStringLiteral("IP-Überwachung unterbrochen"));
    QVERIFY(!toolkit::profile::readValue(h.iniPath, "DYNDNS", "TB", QString()).isEmpty());
    QCOMPARE(toolkit::profile::readValue(h.iniPath, "Common", "AT", QString()),
             QStringLiteral("0"));

    h.cycle->StartMonitoring();
    h.form().WildcardChk.setChecked(true);
    QVERIFY(!h.form().AppActiveChk.isChecked());
    QCOMPARE(toolkit::profile::readValue(h.iniPath, "DYNDNS", "WC", QString()),
             QStringLiteral("1"));
}

void TestAccountSettings::leavingTrims()
{
    CorvixHarness h;
    h.cycle->load({});
    h.form().FtpTB[0].setText(QStringLiteral("  benutzer "));
    h.cycle->StartMonitoring();
    h.cycle->settings().textBoxLeft(0);
    QCOMPARE(h.form().FtpTB[0].text(), QStringLiteral("benutzer"));
    QVERIFY(!h.form().AppActiveChk.isChecked());
    h.cycle->StartMonitoring();
    h.cycle->settings().textBoxLeft(0); // nothing to trim: no change handling
    QVERIFY(h.form().AppActiveChk.isChecked());
}

void TestAccountSettings::blanksCountAsFilled()
{
    CorvixHarness h;
    h.cycle->load({});
    h.enterAccount(QStringLiteral("   "));
    QVERIFY(h.cycle->settings().LoginDataComplete());
    h.addresses.addresses = QStringList{"84.12.34.56"};
    h.cycle->testClicked();
    QCOMPARE(h.update.requests.size(), 1);
    QVERIFY(h.update.requests.first().url.query().startsWith(QStringLiteral("hostname=&myip=")));
}

void TestAccountSettings::unstorableCharacterKeepsOldLogin()
{
    CorvixHarness h;
    h.cycle->load({});
    h.form().FtpTB[1].setText(QStringLiteral("geheim"));
    const QString before = toolkit::profile::readValue(h.iniPath, "DYNDNS", "TB", QString());
    h.form().FtpTB[1].setText(QStringLiteral("geheimł"));
    QCOMPARE(toolkit::profile::readValue(h.iniPath, "DYNDNS", "TB", QString()), before);
    QVERIFY(h.window.lastStatus().contains(QStringLiteral("'ł'")));
}

void TestAccountSettings::providerAddressesFromIni()
{
    CorvixHarness h;
    toolkit::profile::writeValue(h.iniPath, "Common", "CheckURL", "http://127.0.0.1:8245/ip");
    toolkit::profile::writeValue(h.iniPath, "Common", "UpdateURL", "ftp://nope/");
    h.cycle->load({});
    QCOMPARE(h.cycle->context().provider.checkUrl,
             QUrl(QStringLiteral("http://127.0.0.1:8245/ip")));
    QCOMPARE(h.cycle->context().provider.updateUrl,
             QUrl(QStringLiteral("https://members.dyndns.org/nic/update/")));
    QVERIFY(h.window.lastStatus().contains(QStringLiteral("UpdateURL")));
    h.form().FtpTB[0].setText(QStringLiteral("x"));
    // Read, never written.
    QCOMPARE(toolkit::profile::readValue(h.iniPath, "Common", "UpdateURL", QString()),
             QStringLiteral("ftp://nope/"));
}

QTEST_GUILESS_MAIN(TestAccountSettings)
#include "tst_account_settings.moc"
