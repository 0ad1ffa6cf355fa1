#include "tray_icon.h"

#include <QPixmap>
#include <QWidget>
#include <QtTest>

namespace {

QIcon solidIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

using Reasons = QList<QSystemTrayIcon::ActivationReason>;

} // namespace

class TestTrayIcon : public QObject {
    Q_OBJECT
private slots:
    void tipIsCutTo63Characters_data();
    void tipIsCutTo63Characters();
    void clicksToggleTheWindow_data();
    void clicksToggleTheWindow();
    void unhookedIconIgnoresClicks();
    void addModifyDelete();
    void otherIdentifiersAreIgnored();
};

void TestTrayIcon::tipIsCutTo63Characters_data()
{
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("expected");
    const QString seventy = QString(60, QLatin1Char('a')) + QStringLiteral("0123456789");
    QTest::newRow("70 characters") << seventy << seventy.left(63);
    QTest::newRow("exactly 63") << seventy.left(63) << seventy.left(63);
    QTest::newRow("short") << QStringLiteral("Corvix (aktiviert)")
                           << QStringLiteral("Corvix (aktiviert)");
    // A sign outside the basic plane at positions 63/64 must not be cut in half.
    const QString emoji = QString(62, QLatin1Char('b')) + QString::fromUtf8("\xF0\x9F\x8C\x8D") +
                          QStringLiteral("tail");
    QTest::newRow("pair at the cut") << emoji << QString(62, QLatin1Char('b'));
}

void TestTrayIcon::tipIsCutTo63Characters()
{
    QFETCH(QString, tip);
    QFETCH(QString, expected);
    QCOMPARE(TrayIcon::trayTip(tip), expected);

    TrayIcon tray;
    tray.TrayAdd(0, solidIcon(Qt::blue), tip);
    QCOMPARE(tray.tip(), expected);
    tray.TrayModify(0, solidIcon(Qt::blue), tip + tip);
    QCOMPARE(tray.tip(), TrayIcon::trayTip(tip + tip));
}

void TestTrayIcon::clicksToggleTheWindow_data()
{
    QTest::addColumn<bool>("visibleBefore");
    QTest::addColumn<Reasons>("reasons");
    QTest::addColumn<bool>("visibleAfter");
    QTest::addColumn<int>("toggles");

    QTest::newRow("left click shows") << false << Reasons{QSystemTrayIcon::Trigger} << true << 1;
    QTest::newRow("left click hides") << true << Reasons{QSystemTrayIcon::Trigger} << false << 1;
    QTest::newRow("right click shows") << false << Reasons{QSystemTrayIcon::Context} << true << 1;
    QTest::newRow("right click hides") << true << Reasons{QSystemTrayIcon::Context} << false << 1;
    const Reasons doubleClick{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick};
    QTest::newRow("double click, hidden") << false << doubleClick << false << 2;
    QTest::newRow("double click, shown") << true << doubleClick << true << 2;
    QTest::newRow("middle click") << true << Reasons{QSystemTrayIcon::MiddleClick} << true << 0;
    QTest::newRow("unknown") << false << Reasons{QSystemTrayIcon::Unknown} << false << 0;
}

void TestTrayIcon::clicksToggleTheWindow()
{
    QFETCH(bool, visibleBefore);
    QFETCH(Reasons, reasons);
    QFETCH(bool, visibleAfter);
    QFETCH(int, toggles);

    QWidget window;
    window.setVisible(visibleBefore);
    int toggleCount = 0;
    TrayIcon tray;
    tray.HookWindow(&window, [&] {
        ++toggleCount;
        window.setVisible(!window.isVisible());
    });
    tray.TrayAdd(0, solidIcon(Qt::blue), QStringLiteral("Corvix"));

    // The real click path: the tray icon's own signal.
    auto *qtTray = tray.findChild<QSystemTrayIcon *>();
    QVERIFY(qtTray);
    for (auto reason : reasons)
        emit qtTray->activated(reason);
    QCOMPARE(window.isVisible(), visibleAfter);
    QCOMPARE(toggleCount, toggles);
}

void TestTrayIcon::unhookedIconIgnoresClicks()
{
    int toggleCount = 0;
    TrayIcon tray;
    tray.activate(QSystemTrayIcon::Trigger);

    auto window = std::make_unique<QWidget>();
    tray.HookWindow(window.get(), [&] { ++toggleCount; });
    tray.activate(QSystemTrayIcon::Trigger);
    QCOMPARE(toggleCount, 1);
    QCOMPARE(tray.hookedWindow(), window.get());

    tray.UnhookWindow();
    tray.activate(QSystemTrayIcon::Trigger);
    QCOMPARE(toggleCount, 1);
    QCOMPARE(tray.hookedWindow(), nullptr);

    // A window that went away without an unhook is not toggled any more.
    tray.HookWindow(window.get(), [&] { ++toggleCount; });
    window.reset();
    tray.activate(QSystemTrayIcon::Context);
    QCOMPARE(toggleCount, 1);
}

void TestTrayIcon::addModifyDelete()
{
    const QIcon off = solidIcon(Qt::gray);
    const QIcon on = solidIcon(Qt::green);
    TrayIcon tray;
    QVERIFY(!tray.isShown());

    tray.TrayAdd(0, off, QStringLiteral("Corvix"));
    QVERIFY(tray.isShown());
    QCOMPARE(tray.tip(), QStringLiteral("Corvix"));
    QCOMPARE(tray.icon().cacheKey(), off.cacheKey());

    tray.TrayModify(0, on, QStringLiteral("Corvix (aktiviert)"));
    QVERIFY(tray.isShown());
    QCOMPARE(tray.tip(), QStringLiteral("Corvix (aktiviert)"));
    QCOMPARE(tray.icon().cacheKey(), on.cacheKey());

    tray.TrayDelete(0);
    QVERIFY(!tray.isShown());
    QVERIFY(tray.tip().isEmpty());

    // After the delete a modify has nothing to change, as for an icon that is gone.
    tray.TrayModify(0, off, QStringLiteral("Corvix (deaktiviert)"));
    QVERIFY(!tray.isShown());
    QVERIFY(tray.tip().isEmpty());
}

void TestTrayIcon::otherIdentifiersAreIgnored()
{
    TrayIcon tray;
    tray.TrayModify(0, solidIcon(Qt::green), QStringLiteral("vor dem Hinzufügen"));
    QVERIFY(!tray.isShown());
    QVERIFY(tray.tip().isEmpty());

    tray.TrayAdd(0, solidIcon(Qt::gray), QStringLiteral("Pellor"));
    tray.TrayModify(1, solidIcon(Qt::green), QStringLiteral("fremd"));
    tray.TrayDelete(1);
    QVERIFY(tray.isShown());
    QCOMPARE(tray.tip(), QStringLiteral("Pellor"));
}

QTEST_MAIN(TestTrayIcon)
#include "tst_tray_icon.moc"
