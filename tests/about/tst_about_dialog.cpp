#include "about_dialog.h"
#include "help_links.h"
#include "window_placement.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {

struct RecordingShell : toolkit::Shell {
    QStringList targets;
    QList<int> modes;
    void open(const QString &target, int showMode) override
    {
        targets << target;
        modes << showMode;
    }
};

toolkit::Product corvix()
{
    return {QStringLiteral("Corvix"),
            QStringLiteral("Verbindet Ihren Heim-Web-Server mit dem Internet"), 1, 0, 62};
}

// A closed dialog deletes itself later; this lets that happen now.
void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

Q_DECLARE_METATYPE(toolkit::Product)

class TestAboutDialog : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void productLine_data();
    void productLine();
    void noticeAndBodyCarryTheYear_data();
    void noticeAndBodyCarryTheYear();
    void dialogShowsTextsAndButtons();
    void secondCallBringsTheSameDialog();
    void closedDialogIsBuiltAnew();
    void makerSiteFromButtonAndLogo();
    void placementRule_data();
    void placementRule();
    void centredOnTheTestScreen();
    void renderForDocs();

private:
    RecordingShell m_shell;
};

void TestAboutDialog::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<InfoFormCommercial *>(w))
            w->close();
    }
    runDeferredDeletes();
    m_shell = RecordingShell();
}

void TestAboutDialog::productLine_data()
{
    QTest::addColumn<toolkit::Product>("product");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Corvix") << corvix()
                            << QStringLiteral("Corvix (V1.0) – Verbindet Ihren Heim-Web-Server "
                                              "mit dem Internet");
    QTest::newRow("Pellor")
        << toolkit::Product{QStringLiteral("Pellor"),
                            QStringLiteral("Sofortige, automatische FTP-Uploads"), 1, 6, 12}
        << QStringLiteral("Pellor (V1.6) – Sofortige, automatische FTP-Uploads");
    QTest::newRow("Ambrel 2005")
        << toolkit::Product{QStringLiteral("Ambrel 2005"),
                            QStringLiteral("macht Autostart-CDs 100% startklar"), 1, 7, 110}
        << QStringLiteral("Ambrel 2005 (V1.7a) – macht Autostart-CDs 100% startklar");
    QTest::newRow("no description")
        << toolkit::Product{QStringLiteral("Corvix"), QString(), 2, 1, 5}
        << QStringLiteral("Corvix (V2.1) –");
}

void TestAboutDialog::productLine()
{
    QFETCH(toolkit::Product, product);
    QFETCH(QString, expected);
    QCOMPARE(aboutProductLine(product), expected);
}

void TestAboutDialog::noticeAndBodyCarryTheYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::newRow("last day of a year") << QDate(2024, 12, 31);
    QTest::newRow("first day of the next") << QDate(2025, 1, 1);
    QTest::newRow("far ahead") << QDate(2031, 6, 15);
}

void TestAboutDialog::noticeAndBodyCarryTheYear()
{
    QFETCH(QDate, today);
    const QString year = QString::number(today.year());
    const QString notice = aboutNoticeLine(today);
    QVERIFY2(notice.contains(year), qPrintable(notice));
    QVERIFY(notice.contains(QStringLiteral("NORTIDE")));
    QVERIFY(!notice.contains(QString::number(today.year() - 1)));

    const QString body = aboutBodyText(corvix(), today);
    const QString head = aboutProductLine(corvix()) + QStringLiteral("\r\r") + notice +
                         QStringLiteral("\r\rCorvix ");
    QVERIFY2(body.startsWith(head), qPrintable(body));
    const QString sentence = body.mid(head.size());
    QVERIFY(!sentence.contains(QLatin1Char('\r')));
    QVERIFY(sentence.contains(QStringLiteral("unten links")));
    QVERIFY(!body.contains(QStringLiteral("www")) && !body.contains(QStringLiteral("http")));
}

void TestAboutDialog::dialogShowsTextsAndButtons()
{
    InfoFormCommercial *dialog = ShowAboutDialog(corvix(), m_shell);
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Corvix - Info"));

    const double dpi = dialog->screen()->logicalDotsPerInch();
    QCOMPARE(dialog->size(),
             QSize(toolkit::twipsToPixels(9390, dpi), toolkit::twipsToPixels(4875, dpi)));

    auto *logo = dialog->findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(logo);
    QVERIFY(!logo->pixmap().isNull());
    QCOMPARE(
        logo->toolTip(),
        QStringLiteral(
            "Klicken Sie hier, um noch mehr interessante NORTIDE-Programme kennenzulernen ..."));

    auto *text = dialog->findChild<QLabel *>(QStringLiteral("Label0"));
    QVERIFY(text);
    QCOMPARE(text->font().family(), QStringLiteral("Arial"));
    QVERIFY(text->wordWrap());
    QString expected = aboutBodyText(corvix(), QDate::currentDate());
    expected.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QCOMPARE(text->text(), expected);
    QVERIFY(text->text().contains(QString::number(QDate::currentDate().year())));

    QVERIFY(dialog->findChild<QFrame *>(QStringLiteral("Line1")));

    auto *web = dialog->findChild<QPushButton *>(QStringLiteral("Btn1"));
    QVERIFY(web);
    QCOMPARE(web->text(), QStringLiteral("NORTIDE im Web besuchen"));
    QCOMPARE(web->toolTip(), QStringLiteral("... startet Ihren Internet-Browser mit dem Ziel ") +
                                 toolkit::makerSiteName());
    auto *close = dialog->findChild<QPushButton *>(QStringLiteral("Btn3"));
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("&Schliessen"));
    QCOMPARE(close->toolTip(), QStringLiteral("... bringt Sie zurück zum Programm"));

    // Buttons at the bottom, under the line; the web button left of the close button.
    QVERIFY(web->geometry().top() > dialog->findChild<QFrame *>("Line1")->geometry().top());
    QVERIFY(web->geometry().right() < close->geometry().left());
    QVERIFY(dialog->rect().contains(close->geometry()));
}

void TestAboutDialog::secondCallBringsTheSameDialog()
{
    QWidget owner;
    owner.show();
    QPointer<InfoFormCommercial> first = ShowAboutDialog(corvix(), m_shell, &owner);
    InfoFormCommercial *second = ShowAboutDialog(corvix(), m_shell, &owner);
    QCOMPARE(second, first.data());
    QVERIFY(second->isVisible());
    // Modeless: the program's window stays usable.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    int dialogs = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        dialogs += qobject_cast<InfoFormCommercial *>(w) ? 1 : 0;
    QCOMPARE(dialogs, 1);
}

void TestAboutDialog::closedDialogIsBuiltAnew()
{
    // Closed with the close button, then called again before the deletion has happened:
    // the closing dialog must not be brought back.
    QPointer<InfoFormCommercial> first = ShowAboutDialog(corvix(), m_shell);
    QTest::mouseClick(first->findChild<QPushButton *>(QStringLiteral("Btn3")), Qt::LeftButton);
    QVERIFY(!first->isVisible());
    QPointer<InfoFormCommercial> second = ShowAboutDialog(corvix(), m_shell);
    QVERIFY(second != first);
    QVERIFY(second->isVisible());
    runDeferredDeletes();
    QVERIFY(first.isNull());

    // Closed with the window's close box, then deleted, then called again.
    second->close();
    runDeferredDeletes();
    QVERIFY(second.isNull());
    QPointer<InfoFormCommercial> third = ShowAboutDialog(corvix(), m_shell);
    QVERIFY(third);
    QVERIFY(third->isVisible());
    QVERIFY(m_shell.targets.isEmpty());
}

void TestAboutDialog::makerSiteFromButtonAndLogo()
{
    InfoFormCommercial *dialog = ShowAboutDialog(corvix(), m_shell);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Btn1")), Qt::LeftButton);
    QCOMPARE(m_shell.targets, QStringList{toolkit::makerWebAddress()});
    QCOMPARE(m_shell.modes, QList<int>{3});

    auto *logo = dialog->findChild<QLabel *>(QStringLiteral("Image1"));
    QTest::mouseClick(logo, Qt::RightButton);
    QCOMPARE(m_shell.targets.size(), 1);
    QTest::mouseClick(logo, Qt::LeftButton);
    QCOMPARE(m_shell.targets, QStringList(2, toolkit::makerWebAddress()));
    // Opening the site leaves the dialog open.
    QVERIFY(dialog->isVisible());
}

void TestAboutDialog::placementRule_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("corner");
    QTest::newRow("640 x 480") << QSize(640, 480) << true;
    QTest::newRow("smaller") << QSize(320, 240) << true;
    QTest::newRow("wide but low") << QSize(1024, 480) << true;
    QTest::newRow("high but narrow") << QSize(640, 1024) << true;
    QTest::newRow("641 x 481") << QSize(641, 481) << false;
    QTest::newRow("800 x 600") << QSize(800, 600) << false;
}

void TestAboutDialog::placementRule()
{
    QFETCH(QSize, screen);
    QFETCH(bool, corner);
    QCOMPARE(aboutDialogAtScreenCorner(screen), corner);
}

void TestAboutDialog::centredOnTheTestScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (aboutDialogAtScreenCorner(screen->geometry().size()))
        QSKIP("the test screen is small; the corner case is covered by placementRule");
    InfoFormCommercial *dialog = ShowAboutDialog(corvix(), m_shell);
    const QPoint offset = dialog->frameGeometry().center() - screen->availableGeometry().center();
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
             qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));
}

// Writes a picture of the dialog for the documentation when RENDER_DOCS_DIR names a folder.
void TestAboutDialog::renderForDocs()
{
    const QString folder = qEnvironmentVariable("RENDER_DOCS_DIR");
    if (folder.isEmpty())
        QSKIP("RENDER_DOCS_DIR not set");
    InfoFormCommercial *dialog = ShowAboutDialog(corvix(), m_shell);
    QVERIFY(dialog->grab().save(QDir(folder).filePath(QStringLiteral("about-corvix.png"))));
}

QTEST_MAIN(TestAboutDialog)
#include "tst_about_dialog.moc"
