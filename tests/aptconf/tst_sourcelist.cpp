// The repository list model: line parser, writer, file listing, and what real APT makes of
// the written files.
#include "aptconf/sourcelist.h"

#include "testsupport.h"

#include <QBuffer>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString Fixtures = QStringLiteral(APTCONF_FIXTURES);

SourceEntry withoutLine(SourceEntry entry)
{
    entry.line.clear();
    return entry;
}

// The entries of a file's text, parsed as parseFile() does.
QList<SourceEntry> parseText(const QString& text, const QString& path)
{
    QByteArray data = text.toLocal8Bit();
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    SourceList list;
    list.parseDevice(&buffer, path);
    return list.entries();
}

QString writtenText(const QList<SourceEntry>& entries, const QString& path)
{
    SourceList list;
    list.setSourceListPath(QStringLiteral("/main.list"));
    list.setEntries(entries);
    return list.toFileMap().value(path).toString();
}

QString copyFixtures(const QString& to)
{
    const QString etc = to + QStringLiteral("/etc/apt");
    TestSupport::writeFile(etc + QStringLiteral("/sources.list"),
                           TestSupport::readFile(Fixtures + QStringLiteral("/sources/debian-bookworm.list")));
    const QStringList names{".hidden.list", "B.list",      "a.list",
                            "c.list",       "c.list.save", "sub.list/inside.list"};
    for (const QString& name : names)
        TestSupport::writeFile(etc + QStringLiteral("/sources.list.d/") + name,
                               TestSupport::readFile(Fixtures + QStringLiteral("/listdir/") + name));
    return etc;
}

QMap<QString, QString> aptConfigFor(const QString& etc)
{
    QMap<QString, QString> config;
    config.insert(QStringLiteral("Dir::Etc"), etc + QLatin1Char('/'));
    config.insert(QStringLiteral("Dir::Etc::sourcelist"), QStringLiteral("sources.list"));
    config.insert(QStringLiteral("Dir::Etc::sourceparts"), QStringLiteral("sources.list.d"));
    return config;
}

} // namespace

class TestSourceList : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();

    void fixtureRewrite_data();
    void fixtureRewrite();
    void roundTrip_data();
    void roundTrip();

    void listFilesIgnoresCase();
    void loadReadsMainListThenDirectory();
    void unreadableFileAddsNothing();
    void emptiedFileIsWritten();
    void blankOnlyFileIsWritten();
    void editorEntryGoesToMainList();
    void lineEndAddedBeforeAppending();
    void usableLineEditedIntoIncompleteIsDropped();
    void toggleEnabled();
    void entriesCompareAllFields();

    void sourceItem();

    void aptAcceptsWrittenFiles();
};

void TestSourceList::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("distribution");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QStringList>("architectures");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("written");

    const QString cdrom = QStringLiteral(
        "cdrom:[Debian GNU/Linux 12.4.0 _Bookworm_ - Official amd64 NETINST with firmware 20231210-17:56]/");

    QTest::newRow("arch option") << "deb [arch=amd64,i386] file:/srv/mirror stable main contrib\n"
                                 << true << true << "deb"
                                 << "file:/srv/mirror"
                                 << "stable"
                                 << "" << QStringList{"main", "contrib"} << QStringList{"amd64", "i386"}
                                 << QStringList()
                                 << "deb [ arch=amd64,i386 ] file:/srv/mirror stable main contrib\n";
    QTest::newRow("disabled repository") << "# deb file:/srv/mirror stable main\n"
                                         << true << false << "deb"
                                         << "file:/srv/mirror"
                                         << "stable"
                                         << "" << QStringList{"main"} << QStringList() << QStringList()
                                         << "#deb file:/srv/mirror stable main\n";
    QTest::newRow("two hashes make a comment")
        << "##deb file:/srv/mirror stable main\n"
        << false << false << ""
        << ""
        << ""
        << "" << QStringList() << QStringList() << QStringList() << "##deb file:/srv/mirror stable main\n";
    QTest::newRow("comment line") << "# some text\n"
                                  << false << false << "some"
                                  << ""
                                  << ""
                                  << "some text" << QStringList() << QStringList() << QStringList()
                                  << "# some text\n";
    QTest::newRow("comment up to a further hash")
        << "# see https://example.org/ch02.html#_updates\n"
        << false << false << "see"
        << ""
        << ""
        << "see https://example.org/ch02.html" << QStringList() << QStringList() << QStringList()
        << "# see https://example.org/ch02.html#_updates\n";
    QTest::newRow("lone hash") << "#\n"
                               << false << false << ""
                               << ""
                               << ""
                               << "" << QStringList() << QStringList() << QStringList() << "#\n";
    QTest::newRow("blank line") << "\n"
                                << false << false << ""
                                << ""
                                << ""
                                << "" << QStringList() << QStringList() << QStringList() << "";
    QTest::newRow("white space only") << " \t \n"
                                      << false << false << ""
                                      << ""
                                      << ""
                                      << "" << QStringList() << QStringList() << QStringList() << "";
    QTest::newRow("arch and trusted")
        << "deb [ arch=amd64 trusted=yes ] http://repo.example.lan/debian bookworm main\n"
        << true << true << "deb"
        << "http://repo.example.lan/debian"
        << "bookworm"
        << "" << QStringList{"main"} << QStringList{"amd64"} << QStringList{"trusted=yes"}
        << "deb [ arch=amd64 trusted=yes ] http://repo.example.lan/debian bookworm main\n";
    QTest::newRow("arch alone keeps the bracket form")
        << "deb [arch=amd64] https://dl.google.com/linux/chrome/deb/ stable main\n"
        << true << true << "deb"
        << "https://dl.google.com/linux/chrome/deb/"
        << "stable"
        << "" << QStringList{"main"} << QStringList{"amd64"} << QStringList()
        << "deb [ arch=amd64 ] https://dl.google.com/linux/chrome/deb/ stable main\n";
    QTest::newRow("signed-by without arch")
        << "deb [signed-by=/etc/apt/keyrings/docker.asc] https://download.docker.com/linux/debian bookworm "
           "stable\n"
        << true << true << "deb"
        << "https://download.docker.com/linux/debian"
        << "bookworm"
        << "" << QStringList{"stable"} << QStringList()
        << QStringList{"signed-by=/etc/apt/keyrings/docker.asc"}
        << "deb [ signed-by=/etc/apt/keyrings/docker.asc ] https://download.docker.com/linux/debian bookworm "
           "stable\n";
    QTest::newRow("later option replaces, first place kept")
        << "deb [signed-by=/a.gpg arch=amd64 lang=de signed-by=/b.gpg arch=i386] http://x/ s main\n"
        << true << true << "deb"
        << "http://x/"
        << "s"
        << "" << QStringList{"main"} << QStringList{"i386"} << QStringList{"signed-by=/b.gpg", "lang=de"}
        << "deb [ arch=i386 signed-by=/b.gpg lang=de ] http://x/ s main\n";
    QTest::newRow("option that is no assignment dropped")
        << "deb [ trusted arch+=armhf ] http://x/ s main\n"
        << true << true << "deb"
        << "http://x/"
        << "s"
        << "" << QStringList{"main"} << QStringList() << QStringList{"arch+=armhf"}
        << "deb [ arch+=armhf ] http://x/ s main\n";
    QTest::newRow("inner comment") << "deb http://x/ stable main # mirror\n"
                                   << true << true << "deb"
                                   << "http://x/"
                                   << "stable"
                                   << " mirror" << QStringList{"main"} << QStringList() << QStringList()
                                   << "deb http://x/ stable main # mirror\n";
    QTest::newRow("comment right after a word")
        << "deb http://x/ stable main#m\n"
        << true << true << "deb"
        << "http://x/"
        << "stable"
        << "m" << QStringList{"main"} << QStringList() << QStringList() << "deb http://x/ stable main #m\n";
    QTest::newRow("cdrom name with blanks")
        << "#deb " + cdrom + " bookworm main non-free-firmware\n"
        << true << false << "deb" << cdrom << "bookworm"
        << "" << QStringList{"main", "non-free-firmware"} << QStringList() << QStringList()
        << "#deb " + cdrom + " bookworm main non-free-firmware\n";
    QTest::newRow("indented comment kept")
        << "   # indented\n"
        << false << false << "indented"
        << ""
        << ""
        << "indented" << QStringList() << QStringList() << QStringList() << "   # indented\n";
    QTest::newRow("incomplete line kept")
        << "deb http://x/\n"
        << false << true << "deb"
        << "http://x/"
        << ""
        << "" << QStringList() << QStringList() << QStringList() << "deb http://x/\n";
    QTest::newRow("other first word kept")
        << "rpm http://x/ stable main\n"
        << false << true << "rpm"
        << ""
        << ""
        << "" << QStringList() << QStringList() << QStringList() << "rpm http://x/ stable main\n";
    QTest::newRow("type is case-sensitive")
        << "DEB http://x/ stable main\n"
        << false << true << "DEB"
        << ""
        << ""
        << "" << QStringList() << QStringList() << QStringList() << "DEB http://x/ stable main\n";
    QTest::newRow("unclosed bracket swallows the line")
        << "deb [arch=amd64 http://x/ stable main\n"
        << false << true << "deb"
        << ""
        << ""
        << "" << QStringList() << QStringList{"amd64"} << QStringList()
        << "deb [arch=amd64 http://x/ stable main\n";
    QTest::newRow("hashes separated by blanks")
        << "# # deb http://x/ s main\n"
        << true << false << "deb"
        << "http://x/"
        << "s"
        << "" << QStringList{"main"} << QStringList() << QStringList() << "#deb http://x/ s main\n";
    QTest::newRow("tabs and runs of blanks")
        << "deb\thttp://x/   stable \t main  \n"
        << true << true << "deb"
        << "http://x/"
        << "stable"
        << "" << QStringList{"main"} << QStringList() << QStringList() << "deb http://x/ stable main\n";
    QTest::newRow("flat repository") << "deb-src http://x/ ./\n"
                                     << true << true << "deb-src"
                                     << "http://x/"
                                     << "./"
                                     << "" << QStringList() << QStringList() << QStringList()
                                     << "deb-src http://x/ ./\n";
    QTest::newRow("no final line feed")
        << "deb http://x/ s main" << true << true << "deb"
        << "http://x/"
        << "s"
        << "" << QStringList{"main"} << QStringList() << QStringList() << "deb http://x/ s main\n";
    QTest::newRow("bracketed URI after empty options")
        << "deb [] [x y] s main\n"
        << true << true << "deb"
        << "[x y]"
        << "s"
        << "" << QStringList{"main"} << QStringList() << QStringList() << "deb [ ] [x y] s main\n";
}

void TestSourceList::parseLine()
{
    QFETCH(QString, line);
    const SourceEntry entry = SourceList::parseLine(line, QStringLiteral("/f.list"));
    QTEST(entry.valid, "valid");
    QTEST(entry.enabled, "enabled");
    QTEST(entry.type, "type");
    QTEST(entry.uri, "uri");
    QTEST(entry.distribution, "distribution");
    QTEST(entry.comment, "comment");
    QTEST(entry.sections, "sections");
    QTEST(entry.architectures, "architectures");
    QTEST(entry.options, "options");
    QCOMPARE(entry.line, line);
    QCOMPARE(entry.file, QStringLiteral("/f.list"));
    QTEST(writtenText({entry}, QStringLiteral("/f.list")), "written");
}

void TestSourceList::fixtureRewrite_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    const auto withoutBlankLines = [](const QString& name) {
        const QString text = QString::fromUtf8(TestSupport::readFile(Fixtures + QStringLiteral("/") + name));
        QStringList lines = text.split(QLatin1Char('\n'));
        lines.removeAll(QString());
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    };
    QTest::newRow("apt example") << "sources/apt-example.list"
                                 << withoutBlankLines("sources/apt-example.list");
    QTest::newRow("Debian installer")
        << "sources/debian-bookworm.list" << withoutBlankLines("sources/debian-bookworm.list");
    QTest::newRow("Ubuntu") << "sources/ubuntu-jammy.list"
                            << withoutBlankLines("sources/ubuntu-jammy.list")
                                   .replace(QStringLiteral("# deb"), QStringLiteral("#deb"));
    QTest::newRow("third party")
        << "sources/third-party.list"
        << "deb [ arch=amd64 signed-by=/usr/share/keyrings/google-chrome.gpg ] "
           "https://dl.google.com/linux/chrome/deb/ "
           "stable main\n"
           "deb [ arch=amd64,arm64,armhf signed-by=/etc/apt/keyrings/packages.microsoft.gpg ] "
           "https://packages.microsoft.com/repos/code stable main\n"
           "deb [ arch=amd64 trusted=yes ] http://repo.example.lan/debian bookworm main\n"
           "deb [ signed-by=/etc/apt/keyrings/docker.asc ] https://download.docker.com/linux/debian bookworm "
           "stable\n";
    QTest::newRow("no final line feed")
        << "listdir/c.list"
        << "# local mirror, no signatures\n"
           "deb [ arch=amd64 trusted=yes ] http://repo.example.lan/debian bookworm main\n";
}

void TestSourceList::fixtureRewrite()
{
    QFETCH(QString, name);
    const QString path = Fixtures + QStringLiteral("/") + name;
    SourceList list;
    list.parseFile(path);
    QVERIFY(!list.entries().isEmpty());
    QCOMPARE(list.files(), QStringList{path});
    const QVariantMap map = list.toFileMap();
    QCOMPARE(map.keys(), QStringList{path});
    QTEST(map.value(path).toString(), "expected");
}

void TestSourceList::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    const QStringList names{"sources/apt-example.list",
                            "sources/debian-bookworm.list",
                            "sources/ubuntu-jammy.list",
                            "sources/third-party.list",
                            "listdir/a.list",
                            "listdir/c.list"};
    for (const QString& name : names)
        QTest::newRow(qPrintable(name))
            << QString::fromUtf8(TestSupport::readFile(Fixtures + QStringLiteral("/") + name));
    QTest::newRow("odd lines") << "deb [] [x y] s main\n# # deb http://x/ s main\nrpm a b\n  # c\n"
                                  "deb [ a=b=c arch= ] u d # x # y\ndeb [arch=, lang=] u d\n#";
}

// Parse, write, parse: the same entries (the raw text aside), and writing again changes nothing.
void TestSourceList::roundTrip()
{
    QFETCH(QString, text);
    const QString path = QStringLiteral("/etc/apt/sources.list");
    QList<SourceEntry> first = parseText(text, path);
    const QString written = writtenText(first, path);
    const QList<SourceEntry> second = parseText(written, path);
    first.erase(std::remove_if(first.begin(), first.end(),
                               [](const SourceEntry& entry) { return entry.line.trimmed().isEmpty(); }),
                first.end());
    QCOMPARE(second.size(), first.size());
    for (int i = 0; i < first.size(); ++i)
        QVERIFY2(withoutLine(second.at(i)) == withoutLine(first.at(i)), qPrintable(first.at(i).line));
    QCOMPARE(writtenText(second, path), written);
}

void TestSourceList::listFilesIgnoresCase()
{
    const QString directory = Fixtures + QStringLiteral("/listdir");
    QCOMPARE(SourceList::listFiles(directory),
             (QStringList{directory + QStringLiteral("/a.list"), directory + QStringLiteral("/B.list"),
                          directory + QStringLiteral("/c.list")}));
    QTemporaryDir dir;
    QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("Z.LIST")), "deb http://x/ s main\n"));
    QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("y.list")), "deb http://x/ s main\n"));
    QCOMPARE(SourceList::listFiles(dir.path() + QLatin1Char('/')),
             (QStringList{dir.filePath(QStringLiteral("y.list")), dir.filePath(QStringLiteral("Z.LIST"))}));
}

void TestSourceList::loadReadsMainListThenDirectory()
{
    QTemporaryDir dir;
    const QString etc = copyFixtures(dir.path());
    SourceList list;
    list.load(aptConfigFor(etc));
    // APT prints Dir::Etc with its slash; the paths are used as built.
    const QString mainList = QStringLiteral("/") + etc + QStringLiteral("//sources.list");
    const QString parts = QStringLiteral("/") + etc + QStringLiteral("//sources.list.d/");
    QCOMPARE(list.sourceListPath(), mainList);
    QCOMPARE(list.files(), (QStringList{mainList, parts + QStringLiteral("a.list"),
                                        parts + QStringLiteral("B.list"), parts + QStringLiteral("c.list")}));
    QCOMPARE(SourceList::listDirectory(aptConfigFor(etc)),
             QStringLiteral("/") + etc + QStringLiteral("//sources.list.d"));
    QCOMPARE(list.entries().size(), 19 + 3 + 1 + 2);
    QCOMPARE(list.entries().at(19).file, parts + QStringLiteral("a.list"));
    QCOMPARE(list.entries().last().uri, QStringLiteral("http://repo.example.lan/debian"));
}

void TestSourceList::unreadableFileAddsNothing()
{
    SourceList list;
    list.parseFile(QStringLiteral("/nonexistent/sources.list"));
    list.parseFile(Fixtures + QStringLiteral("/listdir/sub.list"));
    QVERIFY(list.entries().isEmpty());
    QVERIFY(list.files().isEmpty());
    QVERIFY(list.toFileMap().isEmpty());
    // Empty directory keys give the root directory, as when APT's settings could not be read.
    QCOMPARE(SourceList::mainListPath({}), QStringLiteral("//"));
}

// Otherwise the file would be missing from the map, nobody would rewrite it, and its
// repositories would come back although the save reported success.
void TestSourceList::emptiedFileIsWritten()
{
    QTemporaryDir dir;
    SourceList list;
    list.load(aptConfigFor(copyFixtures(dir.path())));
    const QString cList = list.files().last();
    QVERIFY(cList.endsWith(QLatin1String("/c.list")));
    list.entries().erase(std::remove_if(list.entries().begin(), list.entries().end(),
                                        [&](const SourceEntry& entry) { return entry.file == cList; }),
                         list.entries().end());
    const QVariantMap map = list.toFileMap();
    QCOMPARE(map.size(), 4);
    QVERIFY(map.contains(cList));
    QCOMPARE(map.value(cList).toString(), QString());
}

void TestSourceList::blankOnlyFileIsWritten()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("blank.list"));
    QVERIFY(TestSupport::writeFile(path, "\n  \n\t\n"));
    SourceList list;
    list.parseFile(path);
    QCOMPARE(list.entries().size(), 3);
    for (const SourceEntry& entry : list.entries())
        QVERIFY(!entry.valid);
    QCOMPARE(list.toFileMap(), (QVariantMap{{path, QString()}}));
}

void TestSourceList::editorEntryGoesToMainList()
{
    SourceList list;
    list.setSourceListPath(QStringLiteral("/etc/apt//sources.list")); // never read: it does not exist
    list.parseFile(Fixtures + QStringLiteral("/listdir/a.list"));
    SourceEntry added;
    added.valid = true;
    added.enabled = true;
    added.type = QStringLiteral("deb");
    added.uri = QStringLiteral("http://deb.debian.org/debian");
    added.distribution = QStringLiteral("bookworm-backports");
    added.sections = QStringList{QStringLiteral("main")};
    list.entries().prepend(added);
    const QVariantMap map = list.toFileMap();
    QCOMPARE(map.size(), 2);
    QCOMPARE(map.value(QStringLiteral("/etc/apt//sources.list")).toString(),
             QStringLiteral("deb http://deb.debian.org/debian bookworm-backports main\n"));
}

void TestSourceList::lineEndAddedBeforeAppending()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sources.list"));
    QVERIFY(TestSupport::writeFile(path, "deb http://x/ s main\n# last line without line end"));
    SourceList list;
    list.setSourceListPath(path);
    list.parseFile(path);
    QCOMPARE(list.toFileMap().value(path).toString(),
             QStringLiteral("deb http://x/ s main\n# last line without line end"));
    SourceEntry added = SourceList::parseLine(QStringLiteral("deb http://y/ t main"), QString());
    added.line.clear();
    list.entries().append(added);
    QCOMPARE(list.toFileMap().value(path).toString(),
             QStringLiteral("deb http://x/ s main\n# last line without line end\ndeb http://y/ t main\n"));
}

void TestSourceList::usableLineEditedIntoIncompleteIsDropped()
{
    const QString path = QStringLiteral("/f.list");
    SourceEntry edited = SourceList::parseLine(QStringLiteral("deb http://x/ s main\n"), path);
    edited.distribution.clear();
    edited.valid = false;
    SourceEntry stillValidFlag = SourceList::parseLine(QStringLiteral("deb http://y/ s main\n"), path);
    stillValidFlag.uri.clear();
    SourceEntry disabled = SourceList::parseLine(QStringLiteral("#deb http://z/ s main\n"), path);
    disabled.valid = false;
    // A commented-out line keeps its raw text, as any line beginning with "#".
    QCOMPARE(writtenText({edited, stillValidFlag, disabled}, path),
             QStringLiteral("#deb http://z/ s main\n"));
}

void TestSourceList::toggleEnabled()
{
    QList<SourceEntry> entries = parseText(
        QStringLiteral("deb http://x/ s main\n# deb-src http://x/ s main\n"), QStringLiteral("/f.list"));
    QCOMPARE(entries.size(), 2);
    entries[0].enabled = false;
    entries[1].enabled = true;
    QCOMPARE(writtenText(entries, QStringLiteral("/f.list")),
             QStringLiteral("#deb http://x/ s main\ndeb-src http://x/ s main\n"));
}

void TestSourceList::entriesCompareAllFields()
{
    const SourceEntry base = SourceList::parseLine(
        QStringLiteral("deb [arch=amd64 signed-by=/k.gpg] http://x/ s main # c\n"), QStringLiteral("/f"));
    QCOMPARE(base, base);
    QCOMPARE(SourceEntry(), SourceEntry());
    QVERIFY(!SourceEntry().valid && !SourceEntry().enabled);
    const QList<std::function<void(SourceEntry&)>> changes{
        [](SourceEntry& e) { e.valid = !e.valid; },     [](SourceEntry& e) { e.enabled = !e.enabled; },
        [](SourceEntry& e) { e.type += 'x'; },          [](SourceEntry& e) { e.uri += 'x'; },
        [](SourceEntry& e) { e.distribution += 'x'; },  [](SourceEntry& e) { e.comment += 'x'; },
        [](SourceEntry& e) { e.line += 'x'; },          [](SourceEntry& e) { e.file += 'x'; },
        [](SourceEntry& e) { e.sections.append("x"); }, [](SourceEntry& e) { e.architectures.append("x"); },
        [](SourceEntry& e) { e.options.append("x=y"); }};
    for (const auto& change : changes) {
        SourceEntry other = base;
        change(other);
        QVERIFY(other != base);
    }
}

void TestSourceList::sourceItem()
{
    QTreeWidget tree;
    tree.setColumnCount(5);
    SourceEntry entry = SourceList::parseLine(
        QStringLiteral("deb [arch=amd64] http://deb.debian.org/debian bookworm main contrib # c\n"),
        QStringLiteral("/f"));
    auto* item = new SourceItem(entry);
    tree.addTopLevelItem(item);
    QCOMPARE(item->type(), int(QTreeWidgetItem::Type));
    QCOMPARE(item->entry(), entry);
    QCOMPARE(item->checkState(0), Qt::Checked);
    QCOMPARE(item->text(0), QString());
    QCOMPARE(item->text(1), QStringLiteral("deb"));
    QCOMPARE(item->text(2), QStringLiteral("http://deb.debian.org/debian"));
    QCOMPARE(item->text(3), QStringLiteral("bookworm"));
    QCOMPARE(item->text(4), QStringLiteral("main contrib"));

    item->setHidden(true);
    entry.enabled = false;
    entry.type = QStringLiteral("deb-src");
    entry.sections = QStringList{QStringLiteral("main")};
    item->setEntry(entry);
    QVERIFY(item->isHidden());
    QCOMPARE(item->entry(), entry);
    QCOMPARE(item->checkState(0), Qt::Unchecked);
    QCOMPARE(item->text(1), QStringLiteral("deb-src"));
    QCOMPARE(item->text(4), QStringLiteral("main"));
}

// Everything written is accepted by APT itself, and APT sees exactly the repositories that
// the entries say are enabled. APT_CONFIG sets Dir, so the host's lists are never read.
void TestSourceList::aptAcceptsWrittenFiles()
{
    const QString aptGet = QStandardPaths::findExecutable(QStringLiteral("apt-get"));
    if (aptGet.isEmpty())
        QSKIP("apt-get is not installed");
    QTemporaryDir dir;
    const QString root = dir.path();
    const QString etc = copyFixtures(root);
    for (const QString name : {"ubuntu-jammy.list", "third-party.list", "apt-example.list"})
        TestSupport::writeFile(etc + QStringLiteral("/sources.list.d/") + name,
                               TestSupport::readFile(Fixtures + QStringLiteral("/sources/") + name));
    TestSupport::writeFile(etc + QStringLiteral("/sources.list.d/odd.list"),
                           "  # indented comment\n#\n##deb http://x/ s main\n"
                           "deb [ lang=de arch=amd64 ] http://odd.example/ s main contrib # note\n"
                           "deb-src http://odd.example/ s main");
    QDir().mkpath(root + QStringLiteral("/var/lib/apt/lists/partial"));
    TestSupport::writeFile(root + QStringLiteral("/var/lib/dpkg/status"), QByteArray());
    TestSupport::writeFile(root + QStringLiteral("/apt.conf"),
                           "Dir \"" + QFile::encodeName(root) + "/\";\nDir::State::status \"" +
                               QFile::encodeName(root) + "/var/lib/dpkg/status\";\n");

    SourceList list;
    list.load(aptConfigFor(etc));
    QVERIFY(list.entries().size() > 60);
    // Edits as the dialog makes them: toggle two lines, drop one, add one.
    for (SourceEntry& entry : list.entries()) {
        if (entry.uri == QLatin1String("http://archive.canonical.com/ubuntu") &&
            entry.type == QLatin1String("deb"))
            entry.enabled = true;
        if (entry.distribution == QLatin1String("jammy-backports") && entry.type == QLatin1String("deb"))
            entry.enabled = false;
    }
    list.entries().removeAt(list.entries().indexOf(list.entries().constLast()));
    SourceEntry added =
        SourceList::parseLine(QStringLiteral("deb [arch=amd64] http://new.example/debian n main"), QString());
    added.line.clear();
    list.entries().append(added);

    const QVariantMap map = list.toFileMap();
    QCOMPARE(map.size(), list.files().size());
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        QVERIFY(TestSupport::writeFile(it.key(), it.value().toString().toLocal8Bit()));

    QProcess apt;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("APT_CONFIG"), root + QStringLiteral("/apt.conf"));
    apt.setProcessEnvironment(env);
    apt.start(aptGet, {QStringLiteral("indextargets"), QStringLiteral("--no-release-info"),
                       QStringLiteral("--format"),
                       QStringLiteral("$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)")});
    QVERIFY(apt.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(apt.readAllStandardError());
    QVERIFY2(apt.exitCode() == 0, qPrintable(errors));
    QVERIFY2(!errors.contains(QLatin1String("E:")), qPrintable(errors));

    QSet<QString> seen;
    for (const QString& line : QString::fromLocal8Bit(apt.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (!line.isEmpty() && !line.startsWith(QLatin1String("W:")))
            seen.insert(line);
    QSet<QString> expected;
    for (const SourceEntry& entry : list.entries()) {
        if (!entry.isUsable() || !entry.enabled)
            continue;
        const QString uri = entry.uri.endsWith(QLatin1Char('/')) ? entry.uri : entry.uri + QLatin1Char('/');
        for (const QString& section : entry.sections)
            expected.insert(QStringList{entry.type, uri, entry.distribution, section}.join(QLatin1Char(' ')));
    }
    QCOMPARE(seen, expected);
    QVERIFY(expected.contains(QStringLiteral("deb http://new.example/debian/ n main")));
    QVERIFY(expected.contains(QStringLiteral("deb http://archive.canonical.com/ubuntu/ jammy partner")));
    const QString thirdParty =
        map.value(QStringLiteral("/") + etc + QStringLiteral("//sources.list.d/third-party.list")).toString();
    QVERIFY(thirdParty.contains(QLatin1String("signed-by=/etc/apt/keyrings/packages.microsoft.gpg")));
    QVERIFY(thirdParty.contains(QLatin1String("trusted=yes")));
}

QTEST_MAIN(TestSourceList)
#include "tst_sourcelist.moc"
