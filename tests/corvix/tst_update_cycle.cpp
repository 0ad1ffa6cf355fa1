// The update cycle driven tick by tick, with scripted message-box answers.

#include "corvix_harness.h"

#include <QtTest>

using corvix::UnloadCause;
using toolkit::BoxAnswer;

class TestUpdateCycle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadRunsInOrderAndShowsWindow();
    void autostartSwitch_data();
    void autostartSwitch();
    void switchingShowsStateAndForgetsAddresses();
    void networkRhythm();
    void counterWrapsAt600000();
    void checkWhileBusyAsksToWait();
    void directDialOfflineThenOnline();
    void directDialUnchangedAddressWritesNothing();
    void switchingOffAndOnSendsAgain();
    void testButtonForcesDetermination();
    void tickDuringOpenBoxDoesNoWork();
    void endQuestion();
    void closeBoxHides();
    void busyChannelAsksBeforeUnload();
    void terminateSavesWithoutQuestion();
};

void TestUpdateCycle::loadRunsInOrderAndShowsWindow()
{
    CorvixHarness h;
    h.cycle->load({});
    QCOMPARE(h.window.caption, QStringLiteral("Corvix"));
    QCOMPARE(h.window.log,
             (QStringList{"caption", "badge", "restorePosition", "hook", "trayAdd", "show"}));
    QCOMPARE(h.window.tip, QStringLiteral("Corvix"));
    QVERIFY(!h.form().AppActiveChk.isChecked());
    QVERIFY(h.cycle->settings().SettingsLoaded);
    QCOMPARE(h.form().DynDnsServiceList.selectedText(), QStringLiteral("DYNDNS"));
}

void TestUpdateCycle::autostartSwitch_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("completeLogin");
    QTest::addColumn<bool>("monitoring");
    QTest::newRow("exact") << QStringList{"/AUTOSTART"} << true << true;
    QTest::newRow("lower case with blanks") << QStringList{"  /autostart "} << true << true;
    QTest::newRow("further switch") << QStringList{"/AUTOSTART", "/X"} << true << false;
    QTest::newRow("incomplete login") << QStringList{"/AUTOSTART"} << false << false;
    QTest::newRow("no switch") << QStringList{} << true << false;
}

void TestUpdateCycle::autostartSwitch()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, completeLogin);
    QFETCH(bool, monitoring);
    CorvixHarness h;
    if (completeLogin) {
        // Stored by an earlier run.
        CorvixHarness earlier(h.dir.path());
        earlier.cycle->load({});
        earlier.enterAccount();
    }
    h.cycle->load(arguments);
    QCOMPARE(h.form().AppActiveChk.isChecked(), monitoring);
    QCOMPARE(h.timer.isActive(), monitoring);
    QCOMPARE(h.window.visible, !monitoring);
    QCOMPARE(h.window.trayShown, true);
}

void TestUpdateCycle::switchingShowsStateAndForgetsAddresses()
{
    CorvixHarness h;
    h.cycle->load({});
    h.cycle->context().LastSentAddress = QStringLiteral("203.0.113.7");
    h.cycle->StartMonitoring();
    QCOMPARE(h.window.state, 2);
    QCOMPARE(h.window.tip, QStringLiteral("Corvix (aktiviert)"));
    QCOMPARE(h.window.lastStatus(), QStringLiteral("IP-Überwachung aktiviert"));
    QVERIFY(h.window.statusHistory.last().startsWith(QStringLiteral("11.12.2026 13:05:07: ")));
    QVERIFY(h.cycle->context().LastSentAddress.isEmpty());
    QCOMPARE(h.cycle->detection().LastLocalAddress, QStringLiteral("\t"));
    QVERIFY(h.timer.isActive());
    QVERIFY(h.cycle->checkNowPending());

    h.cycle->context().LastSentAddress = QStringLiteral("203.0.113.7");
    h.cycle->StopMonitoring();
    QCOMPARE(h.window.state, 1);
    QCOMPARE(h.window.tip, QStringLiteral("Corvix (deaktiviert)"));
    QCOMPARE(h.window.lastStatus(), QStringLiteral("IP-Überwachung unterbrochen"));
    QVERIFY(h.cycle->context().LastSentAddress.isEmpty());
    QVERIFY(!h.timer.isActive());

    const int before = h.window.statusHistory.size();
    h.cycle->StopMonitoring(); // already off: no click handling
    QCOMPARE(h.window.statusHistory.size(), before);
}

void TestUpdateCycle::networkRhythm()
{
    CorvixHarness h;
    h.cycle->load({});
    h.enterAccount();
    h.form().AccessTypOpt.select(corvix::CorvixForm::kNetwork);
    h.cycle->StartMonitoring();
    QList<int> checksAt;
    for (int tick = 1; tick <= 120; ++tick) {
        const int before = int(h.check.requests.size());
        h.cycle->tick();
        if (h.check.requests.size() > before) {
            checksAt << tick;
            h.check.complete(QStringLiteral("Current IP Address: 203.0.113.7</body>"));
        }
    }
    QCOMPARE(checksAt, (QList<int>{1, 50, 100}));
    QCOMPARE(h.check.requests.first().url, QUrl(QStringLiteral("http://checkip.dyndns.org/")));
    QVERIFY(!h.check.requests.first().authenticate);
    // Only the first determination sends; the later ones find the same address.
    QCOMPARE(h.update.requests.size(), 1);
    QCOMPARE(h.window.lastStatus(),
             QStringLiteral("Die aktuelle IP lautet noch immer '203.0.113.7', daher kein Update "
                            "nötig"));
}

void TestUpdateCycle::counterWrapsAt600000()
{
    CorvixHarness h;
    h.cycle->load({});
    h.cycle->StartMonitoring(); // direct dial, no addresses: quiet after the first poll
    for (int i = 0; i < 599999; ++i)
        h.cycle->tick();
    QCOMPARE(h.cycle->tickCounter(), 599999);
    h.cycle->tick();
    QCOMPARE(h.cycle->tickCounter(), 0);
    // Three ticks later the poll runs on the wrapped counter's rhythm.
    const int calls = h.addresses.calls;
    h.cycle->tick();
    h.cycle->tick();
    QCOMPARE(h.addresses.calls, calls);
    h.cycle->tick();
    QCOMPARE(h.addresses.calls, calls + 1);
}

void TestUpdateCycle::checkWhileBusyAsksToWait()
{
    CorvixHarness h;
    h.monitorFirstTick(corvix::CorvixForm::kNetwork);
    QCOMPARE(h.window.lastStatus(), QStringLiteral("Aktuelle IP wird ermittelt"));
    h.cycle->testClicked();
    QCOMPARE(h.window.lastStatus(), QStringLiteral("Bitte warten, Tool arbeitet noch"));
    QCOMPARE(h.check.requests.size(), 1);
    // The running check ends and its address goes out, as the test button emptied the last one.
    h.check.complete(QStringLiteral("Current IP Address: 203.0.113.7</body>"));
    QCOMPARE(h.update.requests.size(), 1);
}

void TestUpdateCycle::directDialOfflineThenOnline()
{
    CorvixHarness h;
    h.cycle->load({});
    h.enterAccount();
    h.cycle->StartMonitoring();
    h.addresses.addresses = QStringList{"127.0.0.1", "192.168.0.10"};
    h.cycle->tick();
    QCOMPARE(h.window.lastStatus(), QStringLiteral("Offline"));
    h.addresses.addresses = QStringList{"192.168.0.10", "84.12.34.56"};
    h.cycle->tick(); // counter 2: no poll
    QCOMPARE(h.window.lastStatus(), QStringLiteral("Offline"));
    h.cycle->tick();
    const QStringList texts = h.window.statusTexts();
    QCOMPARE(texts.mid(texts.size() - 2),
             (QStringList{"Online", "Die aktuelle IP lautet '84.12.34.56' ... starte Update ..."}));
    QCOMPARE(h.update.requests.size(), 1);
    QCOMPARE(h.update.requests.first().url.query(QUrl::FullyEncoded),
             QStringLiteral("hostname=a.example.org&myip=84.12.34.56&wildcard=OFF&mx="));
}

void TestUpdateCycle::directDialUnchangedAddressWritesNothing()
{
    CorvixHarness h;
    h.addresses.addresses = QStringList{"84.12.34.56"};
    h.monitorFirstTick(corvix::CorvixForm::kDirectDial);
    h.update.complete(QStringLiteral("good 84.12.34.56"));
    const int before = h.window.statusHistory.size();
    for (int i = 0; i < 9; ++i)
        h.cycle->tick();
    QCOMPARE(h.window.statusHistory.size(), before);
    QCOMPARE(h.update.requests.size(), 1);
}

void TestUpdateCycle::switchingOffAndOnSendsAgain()
{
    CorvixHarness h;
    h.addresses.addresses = QStringList{"84.12.34.56"};
    h.monitorFirstTick(corvix::CorvixForm::kDirectDial);
    h.update.complete(QStringLiteral("good 84.12.34.56"));
    h.cycle->StopMonitoring();
    h.cycle->StartMonitoring();
    h.cycle->tick();
    QCOMPARE(h.update.requests.size(), 2);
}

void TestUpdateCycle::testButtonForcesDetermination()
{
    CorvixHarness h;
    h.cycle->load({});
    h.enterAccount();
    h.form().ThisServiceActiveChk.setChecked(false);
    h.addresses.addresses = QStringList{"84.12.34.56"};
    // The automatic update is off: a tick-started determination stops at once.
    h.cycle->detection().InitWebCom_Part_1(false);
    QCOMPARE(h.window.lastStatus(), QStringLiteral("Automatisches IP-Update ist NICHT aktiviert."));
    QCOMPARE(h.addresses.calls, 0);
    for (int press = 1; press <= 2; ++press) {
        h.cycle->testClicked();
        QCOMPARE(h.update.requests.size(), press);
        h.update.complete(QStringLiteral("nochg 84.12.34.56"));
        QCOMPARE(h.window.lastStatus(),
                 QStringLiteral("Das Update auf 84.12.34.56 war erfolgreich"));
    }
}

void TestUpdateCycle::tickDuringOpenBoxDoesNoWork()
{
    CorvixHarness h;
    h.cycle->load({});
    h.form().ThisServiceActiveChk.setChecked(true); // login data missing
    h.form().AccessTypOpt.select(corvix::CorvixForm::kNetwork);
    h.cycle->StartMonitoring();
    int nested = 0;
    h.boxes.whileOpen = [&] {
        if (nested++ < 60)
            h.cycle->tick(); // the timer keeps ticking while the box is open
    };
    h.cycle->tick();
    QCOMPARE(h.boxes.shown.size(), 1);
    QCOMPARE(h.boxes.shown.first().text,
             QStringLiteral("Die Angaben über den Server, Ihre Kennung oder das Passwort sind "
                            "nicht vollständig - bitte überprüfen."));
    QCOMPARE(h.boxes.shown.first().icon, toolkit::BoxIcon::Error);
    QCOMPARE(h.window.lastStatus(), QStringLiteral("Bitte Login-Angaben prüfen!"));
    QCOMPARE(h.cycle->tickCounter(), 2);
}

void TestUpdateCycle::endQuestion()
{
    CorvixHarness h;
    h.cycle->load({});
    h.window.log.clear();
    h.boxes.answers = {BoxAnswer::No};
    h.cycle->endClicked();
    QCOMPARE(h.boxes.shown.size(), 1);
    QCOMPARE(h.boxes.shown.first().text,
             QStringLiteral("Wenn Sie Corvix jetzt beenden, können Ihre Internetverbindungen\r"
                            "nicht mehr überwacht werden!\r\rSoll Corvix wirklich beendet "
                            "werden?"));
    QCOMPARE(h.boxes.shown.first().defaultAnswer, BoxAnswer::No);
    QCOMPARE(h.boxes.shown.first().icon, toolkit::BoxIcon::Question);
    QVERIFY(!h.window.ended);

    h.enterAccount();
    h.boxes.answers = {BoxAnswer::Yes};
    h.check.busy = true;
    h.boxes.answers << BoxAnswer::Yes; // the busy question
    h.cycle->endClicked();
    QCOMPARE(h.boxes.shown.size(), 3);
    QCOMPARE(h.boxes.shown.at(2).text, corvix::UpdateCycle::busyQuestion());
    QCOMPARE(h.check.cancels, 1);
    QCOMPARE(h.update.cancels, 1);
    QCOMPARE(h.window.log, (QStringList{"trayDelete", "unhook", "savePosition", "end"}));
    // The settings were saved on the way out.
    QVERIFY(!toolkit::profile::readValue(h.iniPath, "DYNDNS", "TB", QString()).isEmpty());
}

void TestUpdateCycle::closeBoxHides()
{
    CorvixHarness h;
    h.cycle->load({});
    QVERIFY(!h.cycle->requestUnload(UnloadCause::UserClose));
    QVERIFY(!h.window.visible);
    QVERIFY(!h.window.ended);
    QVERIFY(h.boxes.shown.isEmpty());
}

void TestUpdateCycle::busyChannelAsksBeforeUnload()
{
    CorvixHarness h;
    h.cycle->load({});
    QVERIFY(h.cycle->queryUnload(UnloadCause::SessionEnd)); // nothing busy: no question
    QVERIFY(h.boxes.shown.isEmpty());
    h.update.busy = true;
    h.boxes.answers = {BoxAnswer::No};
    QVERIFY(!h.cycle->requestUnload(UnloadCause::SessionEnd));
    QCOMPARE(h.boxes.shown.size(), 1);
    QCOMPARE(h.boxes.shown.first().text,
             QStringLiteral("Die Anwendung ist noch aktiv! Wollen Sie wirklich jetzt abbrechen?"));
    QVERIFY(!h.window.ended);
}

void TestUpdateCycle::terminateSavesWithoutQuestion()
{
    CorvixHarness h;
    h.cycle->load({});
    h.update.busy = true;
    QVERIFY(h.cycle->requestUnload(UnloadCause::Terminate));
    QVERIFY(h.boxes.shown.isEmpty());
    QVERIFY(h.window.ended);
    QVERIFY(h.window.log.contains(QStringLiteral("savePosition")));
}

QTEST_GUILESS_MAIN(TestUpdateCycle)
#include "tst_update_cycle.moc"
