// Corvix against a real HTTP provider on 127.0.0.1: the requests it sends and what it reports.

#include "corvix_fakes.h"
#include "http_channel.h"
#include "http_stub.h"
#include "scripted_boxes.h"
#include "update_cycle.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// The logic with real channels; only the window, the timer and the local addresses are stand-ins.
struct LiveCorvix {
    explicit LiveCorvix(const QString &checkUrl, const QString &updateUrl, int timeoutMs = 10000)
        : check(&manager, timeoutMs), update(&manager, timeoutMs)
    {
        qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toUtf8());
        const QString ini = dir.path() + QStringLiteral("/Corvix.INI");
        toolkit::profile::writeValue(ini, "Common", "CheckURL", checkUrl);
        toolkit::profile::writeValue(ini, "Common", "UpdateURL", updateUrl);
        registry = std::make_unique<toolkit::Registry>(dir.path() + QStringLiteral("/reg.ini"));
        window.onProcessEvents = [] { QCoreApplication::processEvents(); };
        cycle = std::make_unique<corvix::UpdateCycle>(
            corvix::CorvixDependencies{window,
                                       boxes,
                                       check,
                                       update,
                                       addresses,
                                       timer,
                                       *registry,
                                       ini,
                                       {QStringLiteral("corvix"), QStringLiteral("/AUTOSTART")},
                                       [] { return QDateTime::currentDateTime(); }});
        cycle->load({});
        auto &form = cycle->form();
        form.FtpTB[0].setText(QStringLiteral("benutzer"));
        form.FtpTB[1].setText(QStringLiteral("geheim"));
        form.FtpTB[2].setText(QStringLiteral("a.example.org\r\nb.example.org"));
        form.ThisServiceActiveChk.setChecked(true);
        form.AccessTypOpt.select(corvix::CorvixForm::kNetwork);
    }

    bool idle() const { return !check.isBusy() && !update.isBusy(); }

    QTemporaryDir dir;
    QNetworkAccessManager manager;
    corvix::HttpChannel check;
    corvix::HttpChannel update;
    FakeWindow window;
    ScriptedBoxes boxes;
    FakeAddresses addresses;
    FakeTimer timer;
    std::unique_ptr<toolkit::Registry> registry;
    std::unique_ptr<corvix::UpdateCycle> cycle;
};

const QString kProblemsHead = QStringLiteral("Beim IP-Update gabe es folgende Probleme:\r\n\r\n");

} // namespace

class TestHttpProvider : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void update_data();
    void update();
    void failedTransfers_data();
    void failedTransfers();
    void redirectKeepsLoginAtHome();
};

void TestHttpProvider::update_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("summary");
    QTest::newRow("good and nochg")
        << 200 << QByteArray("good 203.0.113.7\r\nnochg 203.0.113.7\r\n") << "geheim"
        << ""
        << "Das Update auf 203.0.113.7 war erfolgreich";
    QTest::newRow("partial failure")
        << 200 << QByteArray("good 203.0.113.7\nnohost") << "geheim"
        << kProblemsHead + "b.example.org: Dieser Domainname ist unter diesem DynDNS-Dienst "
                           "unbekannt (Code: nohost)\r\n"
        << "Das IP-Update war nur teilweise erfolgreich";
    QTest::newRow("BADAUTH in capitals, refused with 401")
        << 401 << QByteArray("BADAUTH\nBADAUTH\n") << "falsch"
        << kProblemsHead +
               "a.example.org: Ihre Login-Daten wurden nicht akzeptiert (Code: BADAUTH)\r\n"
               "b.example.org: Ihre Login-Daten wurden nicht akzeptiert (Code: BADAUTH)\r\n"
        << "Das IP-Update ist fehlgeschlagen";
    QTest::newRow("password with @/%5 and backslash")
        << 200 << QByteArray("good 203.0.113.7\ngood 203.0.113.7") << "p@ss/%5\\wort"
        << ""
        << "Das Update auf 203.0.113.7 war erfolgreich";
}

void TestHttpProvider::update()
{
    QFETCH(int, status);
    QFETCH(QByteArray, reply);
    QFETCH(QString, password);
    QFETCH(QString, box);
    QFETCH(QString, summary);

    HttpStub stub;
    stub.replies.insert("/", {200, "<html><head><title>Current IP Check</title></head><body>"
                                   "Current IP Address: 203.0.113.7</body></html>\r\n"});
    stub.replies.insert("/nic/update/", {status, reply});
    LiveCorvix corvix(stub.url(QStringLiteral("/")), stub.url(QStringLiteral("/nic/update/")));
    corvix.cycle->form().FtpTB[1].setText(password);
    corvix.cycle->StartMonitoring();
    corvix.cycle->tick();
    QCOMPARE(corvix.window.lastStatus(), QStringLiteral("Aktuelle IP wird ermittelt"));
    QTRY_VERIFY(stub.requests.size() == 2 && corvix.idle());
    QTRY_COMPARE(corvix.window.lastStatus(), summary);

    const RecordedRequest &checkRequest = stub.requests.at(0);
    QCOMPARE(checkRequest.method, QByteArray("GET"));
    QCOMPARE(checkRequest.target, QByteArray("/"));
    QVERIFY(!checkRequest.headers.contains("authorization"));

    const RecordedRequest &updateRequest = stub.requests.at(1);
    QCOMPARE(updateRequest.method, QByteArray("GET"));
    QCOMPARE(updateRequest.target,
             QByteArray("/nic/update/?hostname=a.example.org,b.example.org&myip=203.0.113.7"
                        "&wildcard=OFF&mx="));
    QCOMPARE(QByteArray::fromBase64(
                 updateRequest.headers.value("authorization").mid(int(qstrlen("Basic ")))),
             QByteArray("benutzer:") + password.toUtf8());
    QCOMPARE(updateRequest.headers.value("user-agent"),
             QByteArray("myclient/1.0 corvix@nortide.example"));

    const QStringList statuses = corvix.window.statusTexts();
    QVERIFY(statuses.contains(
        QStringLiteral("Die aktuelle IP lautet '203.0.113.7' ... starte Update ...")));
    if (box.isEmpty()) {
        QVERIFY(corvix.boxes.shown.isEmpty());
    } else {
        QCOMPARE(corvix.boxes.shown.size(), 1);
        QCOMPARE(corvix.boxes.shown.first().text, box);
    }
    QVERIFY(corvix.cycle->form().AppActiveChk.isChecked());
}

void TestHttpProvider::failedTransfers_data()
{
    QTest::addColumn<bool>("portClosed");
    QTest::addColumn<QString>("failure");
    QTest::newRow("connection refused") << true << "1: Die Verbindung wurde vom Server abgelehnt";
    QTest::newRow("server never answers")
        << false << "4: Zeitüberschreitung: Der Server antwortet nicht";
}

void TestHttpProvider::failedTransfers()
{
    QFETCH(bool, portClosed);
    QFETCH(QString, failure);

    HttpStub stub;
    stub.silent = true;
    QString checkUrl = stub.url(QStringLiteral("/"));
    if (portClosed) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        checkUrl = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
    }
    LiveCorvix corvix(checkUrl, stub.url(QStringLiteral("/nic/update/")), 800);
    corvix.cycle->StartMonitoring();
    corvix.cycle->tick();
    QTRY_COMPARE(corvix.boxes.shown.size(), 1);
    QCOMPARE(corvix.boxes.shown.first().text,
             QStringLiteral("Beim Zugriff auf das Internet kam es zu ff. Problem:\r\r") + failure +
                 QStringLiteral("\r\rGgf. ist Ihre Internetverbindung gestört bzw. "
                                "unterbrochen.\rFerner könnte das Tool auch durch Ihre Firewall "
                                "behindert werden."));
    QVERIFY(!corvix.cycle->form().AppActiveChk.isChecked());
    QVERIFY(!corvix.timer.isActive());
    QCOMPARE(corvix.window.beeps, 1);
    QVERIFY(corvix.idle());
    QCOMPARE(corvix.window.lastStatus(), QStringLiteral("IP-Überwachung unterbrochen"));
}

void TestHttpProvider::redirectKeepsLoginAtHome()
{
    HttpStub elsewhere;
    elsewhere.replies.insert("/nic/update/", {200, "good 203.0.113.7\ngood 203.0.113.7"});
    HttpStub stub;
    stub.replies.insert("/", {200, "Current IP Address: 203.0.113.7</body>"});
    stub.replies.insert(
        "/nic/update/",
        {302, "moved",
         "Location: " + elsewhere.url(QStringLiteral("/nic/update/")).toUtf8() + "\r\n"});
    LiveCorvix corvix(stub.url(QStringLiteral("/")), stub.url(QStringLiteral("/nic/update/")));
    corvix.cycle->testClicked();
    QTRY_VERIFY(stub.requests.size() == 2 && corvix.idle());
    QTRY_VERIFY(!corvix.boxes.shown.isEmpty());
    QVERIFY(elsewhere.requests.isEmpty());
    QCOMPARE(corvix.window.lastStatus(), QStringLiteral("Das IP-Update ist fehlgeschlagen"));
}

QTEST_GUILESS_MAIN(TestHttpProvider)
#include "tst_http_provider.moc"
