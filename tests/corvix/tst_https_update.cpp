// The update request goes over HTTPS with certificate checks: a provider whose certificate
// cannot be verified never sees the login.

#include "corvix_fakes.h"
#include "http_channel.h"
#include "scripted_boxes.h"
#include "update_cycle.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QtTest>

class TestHttpsUpdate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void untrustedCertificateFailsWithoutSendingLogin();
};

void TestHttpsUpdate::untrustedCertificateFailsWithoutSendingLogin()
{
    if (!QSslSocket::supportsSsl())
        QSKIP("no TLS backend");
    QFile certFile(QStringLiteral(TEST_SOURCE_DIR "/data/selfsigned.crt"));
    QFile keyFile(QStringLiteral(TEST_SOURCE_DIR "/data/selfsigned.key"));
    QVERIFY(certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate(certFile.readAll()));
    tls.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Rsa));

    QSslServer server;
    server.setSslConfiguration(tls);
    QByteArray received;
    connect(&server, &QTcpServer::pendingConnectionAvailable, this, [&] {
        while (QTcpSocket *socket = server.nextPendingConnection())
            connect(socket, &QTcpSocket::readyRead, this,
                    [&received, socket] { received += socket->readAll(); });
    });
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));

    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toUtf8());
    const QString ini = dir.path() + QStringLiteral("/Corvix.INI");
    toolkit::profile::writeValue(
        ini, "Common", "UpdateURL",
        QStringLiteral("https://127.0.0.1:%1/nic/update/").arg(server.serverPort()));
    QNetworkAccessManager manager;
    corvix::HttpChannel check(&manager, 5000);
    corvix::HttpChannel update(&manager, 5000);
    FakeWindow window;
    ScriptedBoxes boxes;
    FakeAddresses addresses;
    addresses.addresses = QStringList{"84.12.34.56"};
    FakeTimer timer;
    toolkit::Registry registry(dir.path() + QStringLiteral("/reg.ini"));
    corvix::UpdateCycle cycle(corvix::CorvixDependencies{
        window, boxes, check, update, addresses, timer, registry, ini, {}, [] {
            return QDateTime::currentDateTime();
        }});
    cycle.load({});
    cycle.form().FtpTB[0].setText(QStringLiteral("benutzer"));
    cycle.form().FtpTB[1].setText(QStringLiteral("geheim"));
    cycle.form().FtpTB[2].setText(QStringLiteral("a.example.org"));
    cycle.testClicked();
    QTRY_COMPARE(boxes.shown.size(), 1);
    QVERIFY2(boxes.shown.first().text.contains(
                 QStringLiteral("Die sichere Verbindung (SSL/TLS) ist fehlgeschlagen")),
             qPrintable(boxes.shown.first().text));
    QVERIFY(!received.contains("geheim"));
    QVERIFY(!received.contains("Authorization"));
}

QTEST_GUILESS_MAIN(TestHttpsUpdate)
#include "tst_https_update.moc"
