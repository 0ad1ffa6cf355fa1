// Local help pages, the online-help question and the maker's links.

#include "help_links.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace toolkit;

namespace {

class RecordingShell : public Shell {
public:
    void open(const QString &target, int showMode) override
    {
        opened << target + " #" + QString::number(showMode);
    }
    QStringList opened;
};

class ScriptedBoxes : public MessageBoxes {
public:
    explicit ScriptedBoxes(BoxAnswer answer) : m_answer(answer) {}
    BoxAnswer showMessage(const QString &text, BoxIcon icon, BoxButtons buttons,
                          BoxAnswer defaultAnswer) override
    {
        shown << text;
        lastIcon = icon;
        lastButtons = buttons;
        lastDefault = defaultAnswer;
        return m_answer;
    }
    QStringList shown;
    BoxIcon lastIcon = BoxIcon::None;
    BoxButtons lastButtons = BoxButtons::Ok;
    BoxAnswer lastDefault = BoxAnswer::Cancel;

private:
    BoxAnswer m_answer;
};

} // namespace

class HelpLinksTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void findLocalHelpFile_data();
    void findLocalHelpFile();
    void showHelpOpensLocalPage();
    void showHelpAsksForOnlineManual_data();
    void showHelpAsksForOnlineManual();
    void makerLinks_data();
    void makerLinks();
    void badge();

private:
    // A made-up folder for each row, with a trailing separator as ProgramFolder gives it.
    QString folder() const { return m_dir->path() + "/Programm Ordner/"; }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void HelpLinksTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(folder()));
}

void HelpLinksTest::findLocalHelpFile_data()
{
    QTest::addColumn<QStringList>("files"); // a trailing '/' makes a folder
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << QStringList() << "";
    QTest::newRow("empty sub-folder") << QStringList{"hilfe/"} << "";
    QTest::newRow("index.htm in both folders")
        << QStringList{"index.htm", "hilfe/index.htm"} << "index.htm";
    QTest::newRow(".htm before .html") << QStringList{"index.html", "index.htm"} << "index.htm";
    QTest::newRow("index before hilfe") << QStringList{"hilfe.htm", "index.html"} << "index.html";
    QTest::newRow("program folder before sub-folder")
        << QStringList{"hilfe.html", "hilfe/index.htm"} << "hilfe.html";
    QTest::newRow("only the last candidate")
        << QStringList{"hilfe/hilfe.html"} << "hilfe/hilfe.html";
    QTest::newRow("sub-folder, index first")
        << QStringList{"hilfe/hilfe.htm", "hilfe/index.html"} << "hilfe/index.html";
    QTest::newRow("a folder is no help page")
        << QStringList{"index.htm/", "hilfe/hilfe.htm"} << "hilfe/hilfe.htm";
    QTest::newRow("other names do not count")
        << QStringList{"help.htm", "index.htm.bak", "hilfe/index.txt"} << "";
}

void HelpLinksTest::findLocalHelpFile()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    for (const QString &name : files) {
        if (name.endsWith('/')) {
            QVERIFY(QDir().mkpath(folder() + name));
            continue;
        }
        QVERIFY(QDir().mkpath(QFileInfo(folder() + name).path()));
        QFile file(folder() + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(FindLocalHelpFile(folder()), expected.isEmpty() ? QString() : folder() + expected);
    // A folder given without its trailing separator finds the same page.
    QString bare = folder();
    bare.chop(1);
    QCOMPARE(FindLocalHelpFile(bare), expected.isEmpty() ? QString() : folder() + expected);
}

void HelpLinksTest::showHelpOpensLocalPage()
{
    QVERIFY(QDir().mkpath(folder() + "hilfe"));
    QFile page(folder() + "hilfe/index.html");
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();

    RecordingShell shell;
    ScriptedBoxes boxes(BoxAnswer::Ok);
    ShowHelp(Product{"Pellor", "", 1, 6, 12}, folder(), shell, boxes);
    QCOMPARE(shell.opened, QStringList{folder() + "hilfe/index.html #1"});
    QVERIFY(boxes.shown.isEmpty());
}

void HelpLinksTest::showHelpAsksForOnlineManual_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("Cancel opens nothing") << "Corvix" << false << QStringList();
    QTest::newRow("OK opens the product page maximised")
        << "Corvix" << true << QStringList{"https://www.nortide.example/?go=corvix #3"};
    QTest::newRow("product word in lower case")
        << "Ambrel 2005" << true << QStringList{"https://www.nortide.example/?go=ambrel #3"};
}

void HelpLinksTest::showHelpAsksForOnlineManual()
{
    QFETCH(QString, product);
    QFETCH(bool, ok);
    QFETCH(QStringList, opened);

    RecordingShell shell;
    ScriptedBoxes boxes(ok ? BoxAnswer::Ok : BoxAnswer::Cancel);
    ShowHelp(Product{product, "", 1, 0, 0}, folder(), shell, boxes);

    // The two line markers of the template are carriage returns.
    const QString expected =
        "Die aktuelle Anleitung zu ''" + product +
        "'' ist online bei www.nortide.example verfügbar.\r\r"
        "Klicken Sie bitte ''OK'', um diese Seite jetzt anzeigen zu lassen ...";
    QCOMPARE(boxes.shown, QStringList{expected});
    QCOMPARE(boxes.lastIcon, BoxIcon::Information);
    QCOMPARE(boxes.lastButtons, BoxButtons::OkCancel);
    QCOMPARE(boxes.lastDefault, BoxAnswer::Ok);
    QCOMPARE(shell.opened, opened);
}

void HelpLinksTest::makerLinks_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("expected");
    QTest::newRow("maker site") << 0 << "https://www.nortide.example #3";
    QTest::newRow("maker home") << 1 << "https://www.nortide.example #3";
    QTest::newRow("product page") << 2 << "https://www.nortide.example/?go=pellor #3";
    QTest::newRow("show mode 0 means normal") << 3 << "C:/x.txt #1";
    QTest::newRow("show mode kept") << 4 << "C:/x.txt #3";
}

void HelpLinksTest::makerLinks()
{
    QFETCH(int, link);
    QFETCH(QString, expected);
    RecordingShell shell;
    const Product pellor{"Pellor", "", 1, 6, 12};
    switch (link) {
    case 0:
        OpenMakerSite(shell);
        break;
    case 1:
        OpenMakerHome(shell);
        break;
    case 2:
        OpenProductPage(shell, pellor);
        break;
    default:
        OpenWithShell(shell, "C:/x.txt", link == 3 ? 0 : 3);
        break;
    }
    QCOMPARE(shell.opened, QStringList{expected});
}

void HelpLinksTest::badge()
{
    QCOMPARE(makerBadgeWidth(1305), 3340);
    QCOMPARE(makerBadgeWidth(87), 222); // 222.6 drops its fraction
    QCOMPARE(makerBadgeToolTip(), QString("... created by NORTIDE. Klicken Sie hier, um noch mehr "
                                          "interessante Tools kennen zu lernen."));
}

QTEST_GUILESS_MAIN(HelpLinksTest)
#include "tst_help_links.moc"
