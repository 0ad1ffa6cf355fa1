// The real Corvix window on the offscreen platform, driven as a user would.

#include "about_dialog.h"
#include "corvix_app.h"
#include "http_stub.h"
#include "scripted_boxes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct WindowFixture {
    WindowFixture()
    {
        qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toUtf8());
        toolkit::profile::writeValue(ini(), "Common", "CheckURL", stub.url(QStringLiteral("/")));
        toolkit::profile::writeValue(ini(), "Common", "UpdateURL",
                                     stub.url(QStringLiteral("/nic/update/")));
        stub.replies.insert("/", {200, "Current IP Address: 203.0.113.7</body>"});
        stub.replies.insert("/nic/update/", {200, "good 203.0.113.7"});
    }
    QString ini() const { return dir.path() + QStringLiteral("/Corvix.INI"); }
    QString autostartFile() const
    {
        return dir.path() + QStringLiteral("/config/autostart/Corvix.desktop");
    }

    void start(const QStringList &arguments = {})
    {
        app = std::make_unique<corvix::CorvixApp>(
            corvix::CorvixAppOptions{ini(), dir.path() + QStringLiteral("/registry.ini"), 5000});
        app->setMessageBoxes(&boxes);
        app->window().onEndProgram = [this] { ended = true; };
        app->start(arguments);
    }

    template <typename T> T *find(const QString &name)
    {
        T *widget = app->window().findChild<T *>(name);
        if (!widget)
            qWarning("no widget %s", qPrintable(name));
        return widget;
    }
    QString status() { return find<QLabel>(QStringLiteral("SBar"))->text(); }

    QTemporaryDir dir;
    HttpStub stub;
    ScriptedBoxes boxes;
    bool ended = false;
    std::unique_ptr<corvix::CorvixApp> app;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void elementsAndCaptions();
    void monitoringBoxSwitchesCycle();
    void testButtonForcesDetermination();
    void editsReachTheForm();
    void endAnsweredNoThenYes();
    void closingHides();
    void trayClicksToggle();
    void autostartBox();
    void aboutDialog();
    void renderForDocs();
};

void TestMainWindow::elementsAndCaptions()
{
    WindowFixture f;
    f.start();
    QCOMPARE(f.app->window().windowTitle(), QStringLiteral("Corvix"));
    const QList<QPair<QString, QString>> captions{
        {"ThisServiceActiveChk", "&Aktivieren"},
        {"Command1_4", "&Test"},
        {"WildcardChk", "&Ja"},
        {"Command1_3", "&Hilfe"},
        {"Command1_2", "&Info"},
        {"Command1_1", "&Ende"},
        {"AutoStartChk", "Auto&start"},
        {"AppActiveChk", "E&in/Aus"},
        {"Command1_0", "&Ausblenden"},
    };
    for (const auto &caption : captions) {
        auto *button = f.find<QAbstractButton>(caption.first);
        QVERIFY(button);
        QCOMPARE(button->text(), caption.second);
    }
    QCOMPARE(f.find<QRadioButton>("AccessTypOpt_0")->text(),
             QStringLiteral("N&ormale Einwahl direkt über diesen PC"));
    QCOMPARE(f.find<QRadioButton>("AccessTypOpt_1")->text(), QStringLiteral("&Über Netzwerk"));
    QVERIFY(f.find<QRadioButton>("AccessTypOpt_0")->isChecked());
    auto *password = f.find<QLineEdit>("FtpTB_1");
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QCOMPARE(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
             int('*'));
    QCOMPARE(f.find<QPlainTextEdit>("FtpTB_2")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(f.find<QLabel>("Label1_2")->text(),
             QStringLiteral("Domain-Namen: \n\n(Für jeden einzelnen \nNamen eine eigene \nZeile "
                            "verwenden.) \n"));
    QVERIFY(f.find<QLabel>("Image1")->isHidden());
    auto *badge = f.find<QLabel>("Image2");
    QVERIFY(!badge->isHidden());
    QCOMPARE(badge->width(), badge->height() * 668 / 261);
}

void TestMainWindow::monitoringBoxSwitchesCycle()
{
    WindowFixture f;
    f.start();
    auto *box = f.find<QCheckBox>("AppActiveChk");
    const qint64 offIcon = f.app->window().windowIcon().cacheKey();
    box->click();
    QVERIFY(f.app->cycle().form().AppActiveChk.isChecked());
    QCOMPARE(f.app->window().tray().tip(), QStringLiteral("Corvix (aktiviert)"));
    QVERIFY(f.status().endsWith(QStringLiteral(": IP-Überwachung aktiviert")));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d: "))
                .match(f.status())
                .hasMatch());
    const qint64 onIcon = f.app->window().windowIcon().cacheKey();
    QVERIFY(onIcon != offIcon);
    // Alt+I is the box's mnemonic.
    f.app->window().show();
    f.app->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.app->window()));
    QTest::keyClick(&f.app->window(), Qt::Key_I, Qt::AltModifier);
    QTRY_VERIFY(!f.app->cycle().form().AppActiveChk.isChecked());
    QVERIFY(!box->isChecked());
    QCOMPARE(f.app->window().tray().tip(), QStringLiteral("Corvix (deaktiviert)"));
    QVERIFY(f.status().endsWith(QStringLiteral(": IP-Überwachung unterbrochen")));
}

void TestMainWindow::testButtonForcesDetermination()
{
    WindowFixture f;
    f.stub.replies.insert("/nic/update/", {200, "good 203.0.113.7\ngood 203.0.113.7"});
    f.start();
    f.find<QLineEdit>("FtpTB_0")->setText(QStringLiteral("benutzer"));
    f.find<QLineEdit>("FtpTB_1")->setText(QStringLiteral("geheim"));
    f.find<QPlainTextEdit>("FtpTB_2")->setPlainText(QStringLiteral("a.example.org"));
    f.find<QRadioButton>("AccessTypOpt_1")->click();
    f.app->cycle().context().LastSentAddress = QStringLiteral("203.0.113.7");
    f.find<QPushButton>("Command1_4")->click(); // automatic update is off: forced anyway
    QVERIFY(f.app->cycle().context().LastSentAddress.isEmpty());
    QVERIFY(f.status().endsWith(QStringLiteral(": Aktuelle IP wird ermittelt")));
    QTRY_VERIFY(
        f.status().endsWith(QStringLiteral(": Das Update auf 203.0.113.7 war erfolgreich")));
    QCOMPARE(f.stub.requests.size(), 2);
    QVERIFY(f.boxes.shown.isEmpty());
}

void TestMainWindow::editsReachTheForm()
{
    WindowFixture f;
    f.start();
    f.app->cycle().StartMonitoring();
    auto *hosts = f.find<QPlainTextEdit>("FtpTB_2");
    hosts->setPlainText(QStringLiteral("a.example.org\nb.example.org"));
    QCOMPARE(f.app->cycle().form().FtpTB[2].text(),
             QStringLiteral("a.example.org\r\nb.example.org"));
    QVERIFY(!f.app->cycle().form().AppActiveChk.isChecked());
    QVERIFY(!f.find<QCheckBox>("AppActiveChk")->isChecked());
    f.find<QCheckBox>("WildcardChk")->click();
    QCOMPARE(toolkit::profile::readValue(f.ini(), "DYNDNS", "WC", QString()), QStringLiteral("1"));

    // Leaving a box trims it.
    auto *name = f.find<QLineEdit>("FtpTB_0");
    f.app->window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.app->window()));
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral(" benutzer "));
    hosts->setFocus();
    QTRY_COMPARE(name->text(), QStringLiteral("benutzer"));
    QCOMPARE(f.app->cycle().form().FtpTB[0].text(), QStringLiteral("benutzer"));
}

void TestMainWindow::endAnsweredNoThenYes()
{
    WindowFixture f;
    f.start();
    f.boxes.answers = {toolkit::BoxAnswer::No};
    f.find<QPushButton>("Command1_1")->click();
    QCOMPARE(f.boxes.shown.size(), 1);
    QVERIFY(!f.ended);
    QVERIFY(f.app->window().tray().isShown() || !f.app->window().tray().isAvailable());

    f.app->window().move(100, 80);
    f.boxes.answers = {toolkit::BoxAnswer::Yes};
    f.find<QPushButton>("Command1_1")->click();
    QVERIFY(f.ended);
    QVERIFY(!f.app->window().tray().isShown());
    QVERIFY(QFile::exists(f.ini()));
    QSettings store(QStringLiteral("Quillon Software"), QStringLiteral("Corvix"));
    QVERIFY(store.contains(QStringLiteral("_Top")));
    QVERIFY(store.contains(QStringLiteral("_Left")));
}

void TestMainWindow::closingHides()
{
    WindowFixture f;
    f.start();
    QVERIFY(f.app->window().isWindowVisible());
    f.app->window().close();
    QVERIFY(!f.app->window().isWindowVisible());
    QVERIFY(!f.ended);
    QVERIFY(f.boxes.shown.isEmpty());
}

void TestMainWindow::trayClicksToggle()
{
    WindowFixture f;
    f.start();
    TrayIcon &tray = f.app->window().tray();
    QVERIFY(f.app->window().isWindowVisible());
    tray.activate(QSystemTrayIcon::Trigger);
    QVERIFY(!f.app->window().isWindowVisible());
    tray.activate(QSystemTrayIcon::Context);
    QVERIFY(f.app->window().isWindowVisible());
    // A double click arrives as a click and a double click: the window ends as it was.
    tray.activate(QSystemTrayIcon::Trigger);
    tray.activate(QSystemTrayIcon::DoubleClick);
    QVERIFY(f.app->window().isWindowVisible());
    tray.activate(QSystemTrayIcon::MiddleClick);
    QVERIFY(f.app->window().isWindowVisible());
}

void TestMainWindow::autostartBox()
{
    WindowFixture f;
    f.start();
    auto *box = f.find<QCheckBox>("AutoStartChk");
    QVERIFY(!box->isChecked());
    QVERIFY(!QFile::exists(f.autostartFile()));
    box->click();
    QVERIFY(QFile::exists(f.autostartFile()));
    QFile file(f.autostartFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    file.close();
    QVERIFY(content.contains("/AUTOSTART"));
    f.app.reset();

    // A start with the entry present checks the box and writes nothing.
    const QDateTime written = QFileInfo(f.autostartFile()).lastModified();
    QTest::qWait(20);
    f.start();
    QVERIFY(f.find<QCheckBox>("AutoStartChk")->isChecked());
    QCOMPARE(QFileInfo(f.autostartFile()).lastModified(), written);
    f.find<QCheckBox>("AutoStartChk")->click();
    QVERIFY(!QFile::exists(f.autostartFile()));
}

void TestMainWindow::aboutDialog()
{
    WindowFixture f;
    f.start();
    f.find<QPushButton>("Command1_2")->click();
    auto *dialog = f.app->window().findChild<InfoFormCommercial *>();
    QVERIFY(dialog);
    QVERIFY(!dialog->isModal());
    const QString text = dialog->findChild<QLabel *>(QStringLiteral("Label0"))->text();
    QVERIFY(text.contains(
        QStringLiteral("Corvix (V1.0) – Verbindet Ihren Heim-Web-Server mit dem Internet")));
    QVERIFY(text.contains(QString::number(QDate::currentDate().year())));
    f.find<QPushButton>("Command1_2")->click();
    QCOMPARE(f.app->window().findChildren<InfoFormCommercial *>().size(), 1);
}

// Writes pictures of the window for the README when RENDER_DOCS_DIR is set.
void TestMainWindow::renderForDocs()
{
    const QString folder = qEnvironmentVariable("RENDER_DOCS_DIR");
    if (folder.isEmpty())
        QSKIP("RENDER_DOCS_DIR not set");
    WindowFixture f;
    f.stub.replies.insert("/nic/update/", {200, "good 203.0.113.7\ngood 203.0.113.7"});
    f.start();
    f.find<QLineEdit>("FtpTB_0")->setText(QStringLiteral("benutzer"));
    f.find<QLineEdit>("FtpTB_1")->setText(QStringLiteral("geheim"));
    f.find<QPlainTextEdit>("FtpTB_2")->setPlainText(
        QStringLiteral("heim.example.org\nfoto.example.org"));
    f.find<QRadioButton>("AccessTypOpt_1")->click();
    f.find<QCheckBox>("ThisServiceActiveChk")->click();
    f.find<QCheckBox>("AppActiveChk")->click();
    f.app->cycle().tick();
    QTRY_VERIFY2(f.status().contains(QStringLiteral("war erfolgreich")), qPrintable(f.status()));
    f.app->window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.app->window()));
    QVERIFY(f.app->window().grab().save(folder + QStringLiteral("/corvix-main.png")));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
