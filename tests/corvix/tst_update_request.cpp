// Host lists, reply codes, reply evaluation, the update request and the address-check page.

#include "corvix_harness.h"

#include <QtTest>

class TestUpdateRequest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hostList_data();
    void hostList();
    void replyCodes_data();
    void replyCodes();
    void evaluation_data();
    void evaluation();
    void requestForOrdinaryValues();
    void valuesArriveAsTyped();
    void updateDroppedWhileBusy();
    void failedTransfer();
    void failedReadEvaluatesNothing();
    void replyReadInPieces();
    void checkPage_data();
    void checkPage();
    void localAddresses_data();
    void localAddresses();
    void addressListingFails();
};

void TestUpdateRequest::hostList_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("list");
    QTest::newRow("empty lines and blanks") << "hostA\r\n\r\n\r\n hostB\r\n"
                                            << "hostA,hostB";
    QTest::newRow("trailing blank, final break") << "hostA\r\n\r\nhostB \r\n"
                                                 << "hostA,hostB";
    QTest::newRow("leading break") << "\r\nhostA"
                                   << "hostA";
    QTest::newRow("only blanks") << "   "
                                 << "";
    QTest::newRow("tab stays") << "a\tb\r\nc"
                               << "a\tb,c";
}

void TestUpdateRequest::hostList()
{
    QFETCH(QString, box);
    QFETCH(QString, list);
    QCOMPARE(corvix::BuildHostList(box), list);
}

void TestUpdateRequest::replyCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("message");
    QTest::newRow("good") << "good" << true << "";
    QTest::newRow("NOCHG") << "NOCHG" << true << "";
    QTest::newRow("badsys") << "badsys" << false << "Falsches DynDNS-System verwendet";
    QTest::newRow("badagent") << "badagent" << false << "Update-Client wurde nicht akzeptiert";
    QTest::newRow("BADAUTH") << "BADAUTH" << false << "Ihre Login-Daten wurden nicht akzeptiert";
    QTest::newRow("!donator") << "!donator" << false
                              << "Ihre Login-Daten sind für die gewünschte Funktion nicht "
                                 "ausreichend";
    QTest::newRow("notfqdn") << "notfqdn" << false << "Fehler im Aufbau des Domainnamens";
    QTest::newRow("nohost") << "nohost" << false
                            << "Dieser Domainname ist unter diesem DynDNS-Dienst unbekannt";
    QTest::newRow("!yours") << "!yours" << false << "Dieser Domainname gehört nicht zu Ihrem Konto";
    QTest::newRow("abuse") << "abuse" << false
                           << "Dieser Domainname wurde wegen unnötigen IP-Updates gesperrt";
    QTest::newRow("numhost") << "numhost" << false << "Bitte wenden Sie sich an den DynDNS-Support";
    QTest::newRow("dnserr") << "dnserr" << false << "Bitte wenden Sie sich an den DynDNS-Support";
    QTest::newRow("911") << "911" << false << "Bitte wenden Sie sich an den DynDNS-Support";
    QTest::newRow("unknown") << "goodish" << false << "Unbekannte Server-Antwort";
    QTest::newRow("empty") << "" << false << "Unbekannte Server-Antwort";
}

void TestUpdateRequest::replyCodes()
{
    QFETCH(QString, code);
    QFETCH(bool, success);
    QFETCH(QString, message);
    QString actual = QStringLiteral("untouched");
    QCOMPARE(corvix::TranslateReplyCode(code, actual), success);
    QCOMPARE(actual, message);
}

void TestUpdateRequest::evaluation_data()
{
    QTest::addColumn<QString>("hosts");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("status");
    const QString head = QStringLiteral("Beim IP-Update gabe es folgende Probleme:\r\n\r\n");
    QTest::newRow("good and nochg") << "hostA,hostB"
                                    << "good 203.0.113.7\r\nnochg 203.0.113.7\r\n"
                                    << ""
                                    << "Das Update auf 203.0.113.7 war erfolgreich";
    QTest::newRow("partial failure") << "hostA,hostB"
                                     << "good 203.0.113.7\nnohost"
                                     << head + "hostB: Dieser Domainname ist "
                                               "unter diesem DynDNS-Dienst "
                                               "unbekannt (Code: nohost)\r\n"
                                     << "Das IP-Update war nur teilweise erfolgreich";
    QTest::newRow("BADAUTH in capitals")
        << "hostA"
        << "BADAUTH"
        << head + "hostA: Ihre Login-Daten wurden nicht akzeptiert (Code: "
                  "BADAUTH)\r\n"
        << "Das IP-Update ist fehlgeschlagen";
    QTest::newRow("code with text after it") << "hostA"
                                             << "nochg 203.0.113.7 extra words"
                                             << ""
                                             << "Das Update auf 203.0.113.7 war erfolgreich";
    QTest::newRow("fewer lines than hosts")
        << "hostA,hostB"
        << "good 203.0.113.7" << head + "hostB: Unbekannte Server-Antwort (Code: )\r\n"
        << "Das IP-Update war nur teilweise erfolgreich";
    QTest::newRow("empty reply") << "hostA"
                                 << "" << head + "hostA: Unbekannte Server-Antwort (Code: )\r\n"
                                 << "Das IP-Update ist fehlgeschlagen";
}

void TestUpdateRequest::evaluation()
{
    QFETCH(QString, hosts);
    QFETCH(QString, reply);
    QFETCH(QString, box);
    QFETCH(QString, status);
    CorvixHarness h;
    h.cycle->context().LastSentAddress = QStringLiteral("203.0.113.7");
    h.cycle->update().RequestedHosts = hosts;
    int statusesWhileBoxOpen = -1;
    h.boxes.whileOpen = [&] { statusesWhileBoxOpen = int(h.window.statusHistory.size()); };
    h.cycle->update().EvaluateUpdateReply(reply);
    if (box.isEmpty()) {
        QVERIFY(h.boxes.shown.isEmpty());
    } else {
        QCOMPARE(h.boxes.shown.size(), 1);
        QCOMPARE(h.boxes.shown.first().text, box);
        QCOMPARE(h.boxes.shown.first().icon, toolkit::BoxIcon::Information);
        QCOMPARE(statusesWhileBoxOpen, 0); // the summary follows the closed box
    }
    QCOMPARE(h.window.lastStatus(), status);
}

void TestUpdateRequest::requestForOrdinaryValues()
{
    CorvixHarness h;
    h.cycle->load({});
    h.enterAccount(QStringLiteral("a.example.org\r\nb.example.org"));
    h.cycle->update().WrapIPandMakeCallToDynDnsViaHTTP(QStringLiteral("203.0.113.7"));
    QCOMPARE(h.update.requests.size(), 1);
    const corvix::TransferRequest &r = h.update.requests.first();
    QCOMPARE(
        r.url.toString(QUrl::FullyEncoded),
        QStringLiteral("https://members.dyndns.org/nic/update/"
                       "?hostname=a.example.org,b.example.org&myip=203.0.113.7&wildcard=OFF&mx="));
    QVERIFY(r.authenticate);
    QCOMPARE(r.userName, QStringLiteral("benutzer"));
    QCOMPARE(r.password, QStringLiteral("geheim"));
    QVERIFY(r.url.userInfo().isEmpty());
    QCOMPARE(h.cycle->update().RequestedHosts, QStringLiteral("a.example.org,b.example.org"));

    h.form().WildcardChk.setChecked(true);
    h.form().FtpTB[3].setText(QStringLiteral(" mx.example.org "));
    h.update.busy = false;
    h.cycle->update().WrapIPandMakeCallToDynDnsViaHTTP(QStringLiteral("203.0.113.7"));
    QVERIFY(h.update.requests.last()
                .url.query(QUrl::FullyEncoded)
                .endsWith(QStringLiteral("&wildcard=ON&mx=mx.example.org")));
}

void TestUpdateRequest::valuesArriveAsTyped()
{
    corvix::AccountValues values;
    values.userName = QStringLiteral("ich@example.org");
    values.password = QStringLiteral("p@ss/w?rd#%5\\n");
    values.hosts = QStringLiteral("a&b=c.example.org,x y");
    values.address = QStringLiteral("203.0.113.7");
    values.mailExchanger = QStringLiteral("mx#1");
    const corvix::TransferRequest r = corvix::buildUpdateRequest(
        QUrl(QStringLiteral("http://127.0.0.1:8080/nic/update/")), values);
    QCOMPARE(r.url.host(), QStringLiteral("127.0.0.1"));
    QCOMPARE(r.url.port(), 8080);
    QCOMPARE(r.url.query(QUrl::FullyEncoded),
             QStringLiteral("hostname=a%26b%3Dc.example.org,x%20y&myip=203.0.113.7&wildcard=OFF"
                            "&mx=mx%231"));
    QCOMPARE(r.password, values.password);
    QCOMPARE(r.userName, values.userName);
}

void TestUpdateRequest::updateDroppedWhileBusy()
{
    CorvixHarness h;
    h.cycle->load({});
    h.enterAccount();
    h.update.busy = true;
    h.cycle->update().RequestedHosts = QStringLiteral("earlier");
    const int statuses = h.window.statusHistory.size();
    h.cycle->update().WrapIPandMakeCallToDynDnsViaHTTP(QStringLiteral("203.0.113.7"));
    QVERIFY(h.update.requests.isEmpty());
    QCOMPARE(h.cycle->update().RequestedHosts, QStringLiteral("earlier"));
    QCOMPARE(h.window.statusHistory.size(), statuses);
    QVERIFY(h.boxes.shown.isEmpty());
}

void TestUpdateRequest::failedTransfer()
{
    CorvixHarness h;
    h.monitorFirstTick(corvix::CorvixForm::kNetwork);
    h.check.fail(1, QStringLiteral("Die Verbindung wurde vom Server abgelehnt"));
    QCOMPARE(h.window.beeps, 1);
    QVERIFY(!h.form().AppActiveChk.isChecked());
    QVERIFY(!h.timer.isActive());
    QCOMPARE(h.boxes.shown.size(), 1);
    QCOMPARE(h.boxes.shown.first().text,
             QStringLiteral("Beim Zugriff auf das Internet kam es zu ff. Problem:\r\r1: Die "
                            "Verbindung wurde vom Server abgelehnt\r\rGgf. ist Ihre "
                            "Internetverbindung gestört bzw. unterbrochen.\rFerner könnte das Tool "
                            "auch durch Ihre Firewall behindert werden."));
    QCOMPARE(h.window.lastStatus(), QStringLiteral("IP-Überwachung unterbrochen"));
}

void TestUpdateRequest::failedReadEvaluatesNothing()
{
    CorvixHarness h;
    h.cycle->load({});
    h.cycle->update().RequestedHosts = QStringLiteral("hostA");
    h.update.failReadAt = 1;
    h.update.complete(QString(1500, QLatin1Char('x')));
    QCOMPARE(h.boxes.shown.size(), 1);
    QVERIFY(h.boxes.shown.first().text.contains(QStringLiteral("99: Lesefehler")));
    QVERIFY(!h.window.lastStatus().contains(QStringLiteral("Update")));
}

void TestUpdateRequest::replyReadInPieces()
{
    CorvixHarness h;
    h.cycle->load({});
    int pumps = 0;
    h.window.onProcessEvents = [&] { ++pumps; };
    h.cycle->update().RequestedHosts = QStringLiteral("hostA");
    h.cycle->context().LastSentAddress = QStringLiteral("203.0.113.7");
    h.update.complete(QStringLiteral("good 203.0.113.7\n") + QString(2100, QLatin1Char(' ')));
    QCOMPARE(pumps, 4); // three pieces and the empty read that ends the loop
    QCOMPARE(h.window.lastStatus(), QStringLiteral("Das Update auf 203.0.113.7 war erfolgreich"));
}

void TestUpdateRequest::checkPage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("cut");
    QTest::addColumn<bool>("address");
    QTest::newRow("check page")
        << "<html><head><title>Current IP Check</title></head><body>Current IP Address: "
           "203.0.113.7</body></html>\r\n"
        << "203.0.113.7" << true;
    QTest::newRow("label colon address tag") << "IP: 203.0.113.7</b>"
                                             << "203.0.113.7" << true;
    QTest::newRow("two colons") << "a: 1.2.3.4 : b"
                                << "1.2.3.4" << true;
    QTest::newRow("no colon") << "<html>nothing</html>"
                              << "" << false;
    QTest::newRow("captive portal") << "<title>Login: Hotel WLAN</title>"
                                    << "Hotel WLAN" << false;
    QTest::newRow("out of range") << "IP: 203.0.113.256<"
                                  << "203.0.113.256" << false;
    QTest::newRow("leading zero") << "IP: 01.2.3.4<"
                                  << "01.2.3.4" << false;
}

void TestUpdateRequest::checkPage()
{
    QFETCH(QString, page);
    QFETCH(QString, cut);
    QFETCH(bool, address);
    QCOMPARE(corvix::CutAddressFromCheckReply(page), cut);
    QCOMPARE(corvix::isDottedQuad(cut), address);

    // Whatever is not an address is never sent.
    CorvixHarness h;
    h.cycle->load({});
    h.enterAccount();
    h.form().AccessTypOpt.select(corvix::CorvixForm::kNetwork);
    h.cycle->testClicked();
    h.check.complete(page);
    QCOMPARE(h.update.requests.size(), address ? 1 : 0);
    if (!address)
        QCOMPARE(h.window.lastStatus(),
                 QStringLiteral("Die aktuelle IP konnte nicht ermittelt werden (Ggf. ist der "
                                "IP-Server down. Sind Sie online?)"));
}

void TestUpdateRequest::localAddresses_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QString>("result");
    QTest::newRow("private then public")
        << QStringList{"192.168.0.10", "84.12.34.56"} << "84.12.34.56";
    QTest::newRow("only private") << QStringList{"10.1.2.3", "172.20.0.1"} << "";
    QTest::newRow("172.15 is public") << QStringList{"172.15.0.1"} << "172.15.0.1";
    QTest::newRow("172.32 is public") << QStringList{"172.32.0.1"} << "172.32.0.1";
    QTest::newRow("172.16 and 172.31 are private")
        << QStringList{"172.16.0.1", "172.31.255.1"} << "";
    QTest::newRow("special ranges")
        << QStringList{"0.0.0.0", "127.0.1.1", "169.254.3.4", "192.0.2.9", "1.2.3.4"} << "1.2.3.4";
    QTest::newRow("192.0.20 is public") << QStringList{"192.0.20.1"} << "192.0.20.1";
    QTest::newRow("none") << QStringList{} << "";
}

void TestUpdateRequest::localAddresses()
{
    QFETCH(QStringList, addresses);
    QFETCH(QString, result);
    QCOMPARE(corvix::firstPublicAddress(addresses), result);
}

void TestUpdateRequest::addressListingFails()
{
    CorvixHarness h;
    h.cycle->load({});
    h.enterAccount();
    h.addresses.failWith = 24;
    h.cycle->testClicked();
    QCOMPARE(h.boxes.shown.size(), 1);
    QCOMPARE(h.boxes.shown.first().text,
             QStringLiteral("Socket Error 24 in Prozedur 'GetLocalPublicAddress' aufgetreten !"));
    QCOMPARE(h.window.lastStatus(),
             QStringLiteral("Die aktuelle IP konnte nicht ermittelt werden (Ist der PC bereits ins "
                            "Internet eingewählt?)"));
    QVERIFY(!h.window.ended);

    // The real listing of this machine works and holds the loopback address.
    corvix::SystemLocalAddresses system;
    int error = 0;
    const auto list = system.ipv4Addresses(error);
    QVERIFY(list.has_value());
    QVERIFY(list->contains(QStringLiteral("127.0.0.1")));
}

QTEST_GUILESS_MAIN(TestUpdateRequest)
#include "tst_update_request.moc"
