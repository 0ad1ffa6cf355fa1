// The widget side of the toolkit: German message boxes, the maker badge, the folder dialog and
// the stored window position.

#include "desktop_services.h"
#include "help_links.h"
#include "window_placement.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace toolkit;

namespace {

// Runs action on the modal window as soon as it is up; the modal loop runs the timer.
void whenModalShown(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

} // namespace

class DesktopServicesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void messageBoxes_data();
    void messageBoxes();
    void makerBadge();
    void browseForFolder_data();
    void browseForFolder();
    void windowPosition_data();
    void windowPosition();

private:
    QTemporaryDir m_dir;
};

void DesktopServicesTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath("user"));
    // The buttons speak German whatever the locale says.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void DesktopServicesTest::messageBoxes_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultAnswer");
    QTest::addColumn<QString>("press"); // button text, or "Esc"
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<int>("answer");

    const int ok = int(BoxAnswer::Ok), cancel = int(BoxAnswer::Cancel);
    const int yes = int(BoxAnswer::Yes), no = int(BoxAnswer::No);
    QTest::newRow("OK") << int(BoxButtons::Ok) << ok << "OK" << QStringList{"OK"} << "OK" << ok;
    QTest::newRow("OK/Cancel, Cancel pressed") << int(BoxButtons::OkCancel) << ok << "Abbrechen"
                                               << QStringList{"Abbrechen", "OK"} << "OK" << cancel;
    QTest::newRow("OK/Cancel, Escape") << int(BoxButtons::OkCancel) << ok << "Esc"
                                       << QStringList{"Abbrechen", "OK"} << "OK" << cancel;
    QTest::newRow("Yes/No, No preselected, Yes pressed")
        << int(BoxButtons::YesNo) << no << "Ja" << QStringList{"Ja", "Nein"} << "Nein" << yes;
    QTest::newRow("Yes/No, Escape")
        << int(BoxButtons::YesNo) << yes << "Esc" << QStringList{"Ja", "Nein"} << "Ja" << no;
}

void DesktopServicesTest::messageBoxes()
{
    QFETCH(int, buttons);
    QFETCH(int, defaultAnswer);
    QFETCH(QString, press);
    QFETCH(QStringList, texts);
    QFETCH(QString, defaultText);
    QFETCH(int, answer);

    QWidget owner;
    WidgetMessageBoxes boxes(&owner, "Corvix");
    SeenBox seen;
    whenModalShown([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            modal->close();
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton *button : box->buttons())
            seen.buttons << button->text();
        seen.buttons.sort();
        seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        if (press == "Esc") {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == press) {
                button->click();
                return;
            }
        }
        box->close();
    });

    const BoxAnswer given = boxes.showMessage("Erste Zeile\r\rDritte Zeile", BoxIcon::Question,
                                              BoxButtons(buttons), BoxAnswer(defaultAnswer));
    QCOMPARE(seen.title, "Corvix");
    QCOMPARE(seen.icon, QMessageBox::Question);
    // Lines end in carriage returns in the templates; the box breaks them.
    QCOMPARE(seen.text, "Erste Zeile\n\nDritte Zeile");
    QCOMPARE(seen.buttons, texts);
    QCOMPARE(seen.defaultButton, defaultText);
    QCOMPARE(int(given), answer);
}

void DesktopServicesTest::makerBadge()
{
    QWidget window;
    window.resize(400, 300);
    auto *logo = new QLabel(&window);
    auto *badge = new QLabel(&window);
    logo->setGeometry(10, 20, 100, 87);
    badge->setGeometry(200, 200, 5, 5);
    badge->hide();
    window.show();

    ShowMakerBadge(logo, badge);
    QVERIFY(!logo->isVisible());
    QVERIFY(badge->isVisible());
    QCOMPARE(badge->geometry(), QRect(10, 20, makerBadgeWidth(87), 87));
    QCOMPARE(badge->toolTip(), makerBadgeToolTip());
}

void DesktopServicesTest::browseForFolder_data()
{
    QTest::addColumn<QString>("choose"); // empty: cancel
    QTest::addColumn<QString>("expected");
    const QString target = m_dir.filePath("Ziel Ordner");
    QTest::newRow("cancelled") << ""
                               << "";
    QTest::newRow("folder without trailing separator") << target << target;
    QTest::newRow("root keeps its separator") << "/"
                                              << "/";
}

void DesktopServicesTest::browseForFolder()
{
    QFETCH(QString, choose);
    QFETCH(QString, expected);
    QVERIFY(QDir().mkpath(m_dir.filePath("Ziel Ordner")));

    QString title;
    whenModalShown([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        title = dialog->windowTitle();
        if (choose.isEmpty()) {
            dialog->reject();
            return;
        }
        // With nothing selected the folder dialog answers with the folder it shows.
        dialog->setDirectory(choose);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString chosen = BrowseForFolder(nullptr, "Bitte wählen Sie das lokale Verzeichnis aus:");
    QCOMPARE(title, "Bitte wählen Sie das lokale Verzeichnis aus:");
    QCOMPARE(chosen, expected);
}

void DesktopServicesTest::windowPosition_data()
{
    QTest::addColumn<QString>("stored"); // "top,left" in pixels, "none", or "beyond"
    QTest::addColumn<bool>("centred");
    QTest::newRow("first start") << "none" << true;
    QTest::newRow("stored place") << "90,120" << false;
    QTest::newRow("top-left corner") << "0,0" << false;
    QTest::newRow("left at the screen width") << "beyond" << true;
}

void DesktopServicesTest::windowPosition()
{
    QFETCH(QString, stored);
    QFETCH(bool, centred);

    QWidget window;
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QScreen *screen = window.screen();
    QVERIFY(screen);
    const double dpi = screen->logicalDotsPerInch();
    const QRect area = screen->availableGeometry();

    QSettings(QStringLiteral("Quillon Software"), QStringLiteral("Corvix")).clear();
    UserSettings settings("Corvix");
    QPoint expected =
        area.topLeft() + QPoint((area.width() - window.frameGeometry().width()) / 2,
                                (area.height() - window.frameGeometry().height()) / 2);
    if (stored == "beyond") {
        settings.SaveUserSetting("_Top", 100);
        settings.SaveUserSetting("_Left", pixelsToTwips(area.width(), dpi));
    } else if (stored != "none") {
        const QStringList parts = stored.split(',');
        const QPoint place = area.topLeft() + QPoint(parts[1].toInt(), parts[0].toInt());
        window.move(place);
        QTRY_COMPARE(window.frameGeometry().topLeft(), place);
        SaveWindowPosition(&window, settings);
        QCOMPARE(settings.LoadUserSetting("_Top", ""),
                 QString::number(pixelsToTwips(parts[0].toInt(), dpi)));
        QCOMPARE(settings.LoadUserSetting("_Left", ""),
                 QString::number(pixelsToTwips(parts[1].toInt(), dpi)));
        expected = place;
        window.move(area.topLeft() + QPoint(33, 44));
    }
    QVERIFY(!centred || expected != window.frameGeometry().topLeft());

    RestoreWindowPosition(&window, settings);
    QTRY_COMPARE(window.frameGeometry().topLeft(), expected);

    // A minimised window leaves -1 behind, so the next start centres it.
    window.showMinimized();
    SaveWindowPosition(&window, settings);
    QCOMPARE(settings.LoadUserSetting("_Top", ""), "-1");
    QCOMPARE(settings.LoadUserSetting("_Left", ""), "-1");
}

QTEST_MAIN(DesktopServicesTest)
#include "tst_desktop_services.moc"
