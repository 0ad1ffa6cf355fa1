#include "app_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace toolkit;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TstAppLog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void defaultFileInTheFolder();
    void bareNameStaysCurrent();
    void nameWithSeparatorIsUsedAsGiven_data();
    void nameWithSeparatorIsUsedAsGiven();
    void appendsToExistingFile();
    void failureLosesTheLineSilently();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void TstAppLog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->path() + QLatin1Char('/');
}

void TstAppLog::defaultFileInTheFolder()
{
    AppLog log(m_folder);
    log.AppendLogLine(QStringLiteral("Start"));
    log.AppendLogLine(QString());
    log.AppendLogLine(QStringLiteral("Gr\u00F6\u00DFe \u20AC"));
    QCOMPARE(log.currentPath(), m_folder + QStringLiteral("Application.log"));
    QCOMPARE(readFile(m_folder + QStringLiteral("Application.log")),
             QByteArray("Start\r\n\r\nGr\xC3\xB6\xC3\x9F"
                        "e \xE2\x82\xAC\r\n"));
}

void TstAppLog::bareNameStaysCurrent()
{
    AppLog log(m_folder);
    log.AppendLogLine(QStringLiteral("one"), QStringLiteral("x.log"));
    log.AppendLogLine(QStringLiteral("two"));
    log.AppendLogLine(QStringLiteral("three"), QStringLiteral("y.log"));
    log.AppendLogLine(QStringLiteral("four"));
    QCOMPARE(readFile(m_folder + QStringLiteral("x.log")), QByteArray("one\r\ntwo\r\n"));
    QCOMPARE(readFile(m_folder + QStringLiteral("y.log")), QByteArray("three\r\nfour\r\n"));
    QVERIFY(!QFile::exists(m_folder + QStringLiteral("Application.log")));
}

void TstAppLog::nameWithSeparatorIsUsedAsGiven_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("absolute") << QStringLiteral("ABSOLUTE/sub/p.log");
    QTest::newRow("relative, slash") << QStringLiteral("sub/p.log");
    QTest::newRow("relative, backslash") << QStringLiteral("sub\\p.log");
}

void TstAppLog::nameWithSeparatorIsUsedAsGiven()
{
    QFETCH(QString, name);
    name.replace(QStringLiteral("ABSOLUTE"), m_dir->path());
    // Relative names go from the current folder, not from the log folder.
    QTemporaryDir current;
    QVERIFY(current.isValid());
    QVERIFY(QDir(current.path()).mkdir(QStringLiteral("sub")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));

    AppLog log(m_folder);
    log.AppendLogLine(QStringLiteral("line"), name);
    QCOMPARE(log.currentPath(), name);
    QVERIFY(QDir::setCurrent(previous));

    const QString written =
        QDir::isAbsolutePath(name) ? name : current.path() + QLatin1Char('/') + name;
    QCOMPARE(readFile(written), QByteArray("line\r\n"));
    QCOMPARE(readFile(m_folder + name), QByteArray());
}

void TstAppLog::appendsToExistingFile()
{
    const QString path = m_folder + QStringLiteral("Pellor-Protokoll.txt");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old\r\n");
    }
    AppLog log(m_folder);
    log.AppendLogLine(QStringLiteral("new"), QStringLiteral("Pellor-Protokoll.txt"));
    QCOMPARE(readFile(path), QByteArray("old\r\nnew\r\n"));
}

void TstAppLog::failureLosesTheLineSilently()
{
    AppLog log(m_folder);
    const QString missing = m_folder + QStringLiteral("missing/p.log");
    log.AppendLogLine(QStringLiteral("lost"), missing);
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!QFile::exists(m_folder + QStringLiteral("missing")));

    // The current path stays as named; once the folder exists, lines arrive again.
    QVERIFY(QDir(m_folder).mkdir(QStringLiteral("missing")));
    log.AppendLogLine(QStringLiteral("kept"));
    QCOMPARE(readFile(missing), QByteArray("kept\r\n"));

    // A folder in the place of the file.
    QVERIFY(QDir(m_folder).mkdir(QStringLiteral("folder.log")));
    AppLog other(m_folder);
    other.AppendLogLine(QStringLiteral("lost"), QStringLiteral("folder.log"));
    other.AppendLogLine(QStringLiteral("lost too"));
    QVERIFY(QFileInfo(m_folder + QStringLiteral("folder.log")).isDir());
    QCOMPARE(readFile(missing), QByteArray("kept\r\n"));
}

QTEST_GUILESS_MAIN(TstAppLog)
#include "tst_app_log.moc"
