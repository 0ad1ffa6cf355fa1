#include "text_helpers.h"

#include <QTest>

using namespace toolkit;

class TstTextHelpers : public QObject {
    Q_OBJECT

private slots:
    void fillPlaceholders_data();
    void fillPlaceholders();
    void substituteDoesNotDecode();
    void decodeEscapes_data();
    void decodeEscapes();
    void pickText();
    void getField_data();
    void getField();
    void chooseAndQuote();
};

void TstTextHelpers::fillPlaceholders_data()
{
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("expected");

    const QStringList ten = {QStringLiteral("one"),   QStringLiteral("two"),
                             QStringLiteral("three"), QStringLiteral("four"),
                             QStringLiteral("five"),  QStringLiteral("six"),
                             QStringLiteral("seven"), QStringLiteral("eight"),
                             QStringLiteral("nine"),  QStringLiteral("ten")};

    QTest::newRow("doubled apostrophes stay")
        << QStringLiteral("''%1''") << QStringList{QStringLiteral("Corvix")}
        << QStringLiteral("''Corvix''");
    QTest::newRow("%10 is the tenth value")
        << QStringLiteral("%1-%10-%9") << ten << QStringLiteral("one-ten-nine");
    QTest::newRow("values are decoded too")
        << QStringLiteral("a%1b") << QStringList{QStringLiteral("x\\ny")}
        << QStringLiteral("ax\ryb");
    QTest::newRow("later placeholder inside a value")
        << QStringLiteral("[%1]") << QStringList{QStringLiteral("%2"), QStringLiteral("two")}
        << QStringLiteral("[two]");
    QTest::newRow("missing values remove the placeholder")
        << QStringLiteral("a%3b%10c") << QStringList{QStringLiteral("x")} << QStringLiteral("abc");
    QTest::newRow("other percent signs pass")
        << QStringLiteral("100% %a %%1") << QStringList{QStringLiteral("v")}
        << QStringLiteral("100% %a %v");
    QTest::newRow("every occurrence")
        << QStringLiteral("%1%1\\n\\l%1") << QStringList{QStringLiteral("z")}
        << QStringLiteral("zz\r\nz");
}

void TstTextHelpers::fillPlaceholders()
{
    QFETCH(QString, templ);
    QFETCH(QStringList, values);
    QFETCH(QString, expected);
    QCOMPARE(FillPlaceholders(templ, values), expected);
}

void TstTextHelpers::substituteDoesNotDecode()
{
    QCOMPARE(SubstitutePlaceholders(QStringLiteral("%1\\t"), {QStringLiteral("C:\\x")}),
             QStringLiteral("C:\\x\\t"));
}

void TstTextHelpers::decodeEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letters, both cases")
        << QStringLiteral("\\t\\T\\n\\N\\l\\L\\h\\H") << QStringLiteral("\t\t\r\r\n\n\"\"");
    QTest::newRow("double backslash") << QStringLiteral("a\\\\b") << QStringLiteral("a\\b");
    QTest::newRow("trailing backslash dropped") << QStringLiteral("ab\\") << QStringLiteral("ab");
    QTest::newRow("other letter stands for itself")
        << QStringLiteral("\\x\\%") << QStringLiteral("x%");
    QTest::newRow("empty") << QString() << QString();
}

void TstTextHelpers::decodeEscapes()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(DecodeEscapes(text), expected);
}

void TstTextHelpers::pickText()
{
    QStringList texts;
    for (int i = 0; i < 10; ++i)
        texts << QString::number(i);
    texts << QStringLiteral("beyond nine");
    QCOMPARE(PickText(0, texts), QStringLiteral("0"));
    QCOMPARE(PickText(9, texts), QStringLiteral("9"));
    QCOMPARE(PickText(10, texts), QString());
    QCOMPARE(PickText(-1, texts), QString());
    QCOMPARE(PickText(3, {QStringLiteral("a")}), QString()); // missing texts are empty
}

void TstTextHelpers::getField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blank by default") << QStringLiteral("a b c d") << 2 << QString() << "b";
    QTest::newRow("empty text") << QString() << 1 << QStringLiteral(":") << QString();
    QTest::newRow("beyond the last field")
        << QStringLiteral("a:b") << 3 << QStringLiteral(":") << QString();
    QTest::newRow("middle") << QStringLiteral("a:b:c") << 2 << QStringLiteral(":") << "b";
    QTest::newRow("last") << QStringLiteral("a:b:c") << 3 << QStringLiteral(":") << "c";
    QTest::newRow("no separator") << QStringLiteral("abc") << 1 << QStringLiteral(":") << "abc";
    QTest::newRow("empty field") << QStringLiteral("a::c") << 2 << QStringLiteral(":") << "";
    QTest::newRow("separator of several characters")
        << QStringLiteral("x<->y<->z") << 2 << QStringLiteral("<->") << "y";
    QTest::newRow("case-sensitive") << QStringLiteral("aXbxc") << 2 << QStringLiteral("x") << "c";
}

void TstTextHelpers::getField()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(GetField(text, n, separator), expected);
}

void TstTextHelpers::chooseAndQuote()
{
    QCOMPARE(ChooseText(QStringLiteral("ja"), true, QStringLiteral("nein")), QStringLiteral("ja"));
    QCOMPARE(ChooseText(QStringLiteral("ja"), false, QStringLiteral("nein")),
             QStringLiteral("nein"));
    QCOMPARE(Quote(QStringLiteral("C:\\Program Files\\x")),
             QStringLiteral("\"C:\\Program Files\\x\""));
    QCOMPARE(Quote(QString()), QStringLiteral("\"\""));
    QCOMPARE(Quote(QStringLiteral("a\"b")), QStringLiteral("\"a\"b\""));
}

QTEST_GUILESS_MAIN(TstTextHelpers)
#include "tst_text_helpers.moc"
