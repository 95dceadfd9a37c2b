// The origin-pattern grammar of unattended-upgrades as the pattern editor uses it.
#include "aptconf/originpattern.h"

#include <QtTest>

Q_DECLARE_METATYPE(OriginPatternFields)

namespace {

OriginPatternFields fields(const QString& archive, const QString& component, const QString& label,
                           const QString& origin, const QString& codeName, const QString& site)
{
    return OriginPatternFields{archive, component, label, origin, codeName, site};
}

} // namespace

class TestOriginPattern : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void fieldsAndFormat_data();
    void fieldsAndFormat();
    void formatOrderAndEmptyFields();
    void formatParseFormatIsStable_data();
    void formatParseFormatIsStable();
};

void TestOriginPattern::parse_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QVariantMap>("parsed");

    QTest::newRow("one piece") << "origin=Debian" << QVariantMap{{"origin", "Debian"}};
    QTest::newRow("blanks around") << " site = mirror , o= Debian Backports "
                                   << QVariantMap{{"site", "mirror"}, {"o", "Debian Backports"}};
    QTest::newRow("later piece wins") << "a=x,a=y" << QVariantMap{{"a", "y"}};
    QTest::newRow("nothing after =") << "archive=,origin=Debian" << QVariantMap{{"origin", "Debian"}};
    QTest::newRow("two = signs") << "archive=a=b,origin=Debian" << QVariantMap{{"origin", "Debian"}};
    QTest::newRow("empty parts dropped") << "=archive=stable" << QVariantMap{{"archive", "stable"}};
    QTest::newRow("no = at all") << "Debian,,origin=Debian" << QVariantMap{{"origin", "Debian"}};
    QTest::newRow("unknown name kept") << "foo=bar" << QVariantMap{{"foo", "bar"}};
    QTest::newRow("case-sensitive names") << "Origin=Debian" << QVariantMap{{"Origin", "Debian"}};
    QTest::newRow("empty") << "" << QVariantMap();
}

void TestOriginPattern::parse()
{
    QFETCH(QString, pattern);
    QFETCH(QVariantMap, parsed);
    QMap<QString, QString> expected;
    for (auto it = parsed.cbegin(); it != parsed.cend(); ++it)
        expected.insert(it.key(), it.value().toString());
    QCOMPARE(parseOriginPattern(pattern), expected);
}

void TestOriginPattern::fieldsAndFormat_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<OriginPatternFields>("fields");
    QTest::addColumn<QString>("written");

    QTest::newRow("origin only") << "origin=Debian" << fields("", "", "", "Debian", "", "")
                                 << "origin=Debian";
    QTest::newRow("short names") << "o=Debian,a=stable" << fields("stable", "", "", "Debian", "", "")
                                 << "archive=stable,origin=Debian";
    QTest::newRow("suite over archive")
        << "archive=stable,suite=testing" << fields("testing", "", "", "", "", "") << "archive=testing";
    QTest::newRow("archive over a") << "archive=stable,a=testing" << fields("stable", "", "", "", "", "")
                                    << "archive=stable";
    QTest::newRow("n over codename") << "codename=x,n=y" << fields("", "", "", "", "y", "") << "codename=y";
    QTest::newRow("component over c")
        << "component=main,c=contrib" << fields("", "main", "", "", "", "") << "component=main";
    QTest::newRow("label over l") << "l=a,label=b" << fields("", "", "b", "", "", "") << "label=b";
    QTest::newRow("origin over o") << "origin=a,o=b" << fields("", "", "", "a", "", "") << "origin=a";
    QTest::newRow("site with blanks around =")
        << "site = mirror" << fields("", "", "", "", "", "mirror") << "site=mirror";
    QTest::newRow("unknown piece dropped")
        << "foo=bar,origin=Debian" << fields("", "", "", "Debian", "", "") << "origin=Debian";
    QTest::newRow("Debian's backports example")
        << "o=Debian Backports,a=${distro_codename}-backports,l=Debian Backports"
        << fields("${distro_codename}-backports", "", "Debian Backports", "Debian Backports", "", "")
        << "archive=${distro_codename}-backports,label=Debian Backports,origin=Debian Backports";
    QTest::newRow("all six") << "site=s,n=n,o=o,l=l,c=c,a=a" << fields("a", "c", "l", "o", "n", "s")
                             << "archive=a,component=c,label=l,origin=o,codename=n,site=s";
}

void TestOriginPattern::fieldsAndFormat()
{
    QFETCH(QString, pattern);
    QFETCH(OriginPatternFields, fields);
    const OriginPatternFields got = originPatternFields(parseOriginPattern(pattern));
    QCOMPARE(got.archive, fields.archive);
    QCOMPARE(got.component, fields.component);
    QCOMPARE(got.label, fields.label);
    QCOMPARE(got.origin, fields.origin);
    QCOMPARE(got.codeName, fields.codeName);
    QCOMPARE(got.site, fields.site);
    QTEST(formatOriginPattern(got), "written");
}

void TestOriginPattern::formatOrderAndEmptyFields()
{
    QCOMPARE(formatOriginPattern("", "", "", "", "", ""), QString());
    QCOMPARE(formatOriginPattern("", "", "", "Debian", "", "x"), QStringLiteral("origin=Debian,site=x"));
    QCOMPARE(defaultOriginPattern(), QStringLiteral("origin=Debian"));
    QCOMPARE(originPatternFields(parseOriginPattern(defaultOriginPattern())),
             fields("", "", "", "Debian", "", ""));
}

void TestOriginPattern::formatParseFormatIsStable_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("normal") << "origin=Debian,codename=${distro_codename},label=Debian-Security";
    QTest::newRow("messy") << " a = x ,, =,o==Debian, l=a=b ,site= ,suite=\t y\t,foo=bar";
    QTest::newRow("empty") << "";
}

void TestOriginPattern::formatParseFormatIsStable()
{
    QFETCH(QString, pattern);
    const OriginPatternFields first = originPatternFields(parseOriginPattern(pattern));
    const QString written = formatOriginPattern(first);
    QCOMPARE(originPatternFields(parseOriginPattern(written)), first);
    QCOMPARE(formatOriginPattern(originPatternFields(parseOriginPattern(written))), written);
}

QTEST_GUILESS_MAIN(TestOriginPattern)
#include "tst_originpattern.moc"
