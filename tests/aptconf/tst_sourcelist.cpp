// The repository lists as the settings dialog saves them. Each folder of
// fixtures/aptconf/sourcelist is a case: in/ holds the list files as found, "edits" the user's
// changes (one a line), out/ every file as it must be written, nothing else.
#include "aptconf/aptconfig.h"
#include "aptconf/sourcelist.h"

#include "testsupport.h"

#include <QDirIterator>
#include <QtTest>

namespace {

const QString Cases = QStringLiteral(APTCONF_FIXTURES "/sourcelist/");

// "enable|disable|remove|up TEXT" acts on the first line (or stanza) holding TEXT, "set
// FIELD=V1,V2 TEXT" sets a field there as the editor does, "options WORD OPTIONS" types
// OPTIONS into the Options field for the first holding WORD; "add LINE" adds a repository as
// the editor makes it.
void apply(SourceList& list, const QString& edit)
{
    const QString verb = edit.section(' ', 0, 0), assignment = edit.section(' ', 1, 1);
    const bool typed = verb == "options";
    const QString text = typed ? edit.section(' ', 1, 1) : edit.section(' ', verb == "set" ? 2 : 1);
    QList<SourceEntry>& entries = list.entries();
    if (verb == "add") {
        entries.append(SourceList::parseLine(text, QString()));
        entries.last().line.clear();
        return;
    }
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const SourceEntry& entry) { return entry.line.contains(text); });
    QVERIFY2(it != entries.end(), qPrintable(edit));
    const QStringList values = assignment.section('=', 1).split(',');
    const QMap<QString, QString*> fields = {
        {"type", &it->type}, {"uri", &it->uri}, {"distribution", &it->distribution}};
    if (verb == "remove") {
        entries.erase(it);
    } else if (verb == "up") { // as the tab moves a row: past the shown row above it
        int target = int(it - entries.begin()) - 1;
        while (!entries.at(target).valid)
            --target;
        entries.move(int(it - entries.begin()), target);
    } else if (typed) {
        SourceList::setOptionsText(&*it, edit.section(' ', 2));
    } else if (verb == "set" && assignment.startsWith("sections=")) {
        it->sections = values;
    } else if (verb == "set") {
        *fields.value(assignment.section('=', 0, 0)) = values.join(' ');
    } else {
        it->enabled = verb == "enable";
    }
}

// The Release files APT fetches for the saved lists: the files in `in` with `written` over them.
QStringList aptReleaseFiles(const QString& in, const QVariantMap& written)
{
    QTemporaryDir sandbox;
    const QString etc = sandbox.filePath("etc");
    for (QDirIterator it(in, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        TestSupport::writeFile(etc + file.mid(in.size()), TestSupport::readFile(file));
    }
    for (auto it = written.cbegin(); it != written.cend(); ++it)
        TestSupport::writeFile(etc + it.key().mid(in.size()), it.value().toByteArray());
    // Nothing of the real /etc/apt is read.
    TestSupport::writeFile(sandbox.filePath("apt.conf"),
                           "Dir::Etc::main \"/nonexistent\";\nDir::Etc::parts \"" +
                               sandbox.filePath("none").toUtf8() + "\";\n");
    QProcess apt;
    apt.setProcessEnvironment(QProcessEnvironment());
    apt.setEnvironment({"APT_CONFIG=" + sandbox.filePath("apt.conf"), "LC_ALL=C"});
    QDir(sandbox.path()).mkpath("state/partial");
    apt.start("apt-get",
              {"update", "--print-uris", "-o", "Debug::NoLocking=1", "-o",
               "Dir::State::lists=" + sandbox.filePath("state"), "-o", "Dir::Cache=" + sandbox.path(), "-o",
               "Dir::Etc::sourcelist=" + etc + "/sources.list", "-o",
               "Dir::Etc::sourceparts=" + etc + "/sources.list.d"});
    if (!apt.waitForFinished(30000) || apt.exitCode() != 0)
        return {"apt-get failed: " + apt.readAllStandardError()};
    QStringList files;
    for (const QString& line : QString(apt.readAllStandardOutput()).split('\n')) {
        if (line.contains("Release' "))
            files.append(line.section('\'', 1, 1));
    }
    files.sort();
    return files;
}

// The Release files of the enabled repositories the tab shows.
QStringList shownReleaseFiles(const SourceList& list)
{
    QStringList files;
    for (const SourceEntry& entry : list.entries()) {
        if (!entry.isUsable() || !entry.enabled)
            continue;
        for (QString uri : entry.uri.split(' ')) {
            uri.remove(QRegularExpression("/$"));
            // A flat repository's suite is its folder.
            for (const QString& suite : entry.distribution.split(' '))
                files.append(uri + (suite.endsWith('/') ? "/" + suite : "/dists/" + suite + "/") +
                             "InRelease");
        }
    }
    files.removeDuplicates();
    files.sort();
    return files;
}

} // namespace

class TestSourceList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void save_data()
    {
        QTest::addColumn<QString>("dir");
        for (const QString& name : QDir(Cases).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QTest::newRow(qPrintable(name)) << Cases + name;
    }

    void save()
    {
        QFETCH(QString, dir);
        const QString in = dir + "/in", out = dir + "/out";
        SourceList list;
        // APT prints Dir::Etc without its leading slash.
        list.load({{"Dir", "/"},
                   {"Dir::Etc", in.mid(1)},
                   {"Dir::Etc::sourcelist", "sources.list"},
                   {"Dir::Etc::sourceparts", "sources.list.d"}});
        QCOMPARE(list.toFileMap(), QVariantMap()); // as read: nothing to write
        const QString edits = TestSupport::readFile(dir + "/edits");
        for (const QString& edit : edits.split('\n', Qt::SkipEmptyParts))
            apply(list, edit);
        const QVariantMap written = list.toFileMap();
        QStringList expected;
        for (QDirIterator it(out, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString file = it.next().mid(out.size());
            expected.append(file);
            QVERIFY2(written.contains(in + file), qPrintable(file));
            QCOMPARE(written.value(in + file).toByteArray(), TestSupport::readFile(out + file));
        }
        QCOMPARE(written.size(), expected.size());
        QCOMPARE(aptReleaseFiles(in, written), shownReleaseFiles(list));
    }

    // The tab reads the lists where APT itself finds them: apt-config's /f and /d answers.
    void listLocations_data()
    {
        QTest::addColumn<QString>("config");
        QTest::newRow("default") << "";
        QTest::newRow("chroot") << "Dir \"/srv/chroot/\";";
        QTest::newRow("absolute parts") << "Dir::Etc::sourceparts \"/opt/parts\";";
        QTest::newRow("absolute etc") << "Dir::Etc \"/x/etc\"; Dir::Etc::sourcelist \"main.list\";";
        QTest::newRow("untidy") << "Dir \"/srv//c\"; Dir::Etc \"etc//apt/./\"; Dir::Etc::sourceparts \"p/\";";
        QTest::newRow("empty etc") << "Dir \"/c\"; Dir::Etc \"\"; Dir::Etc::sourcelist \"/dev/null/x\";";
    }
    void listLocations()
    {
        QFETCH(QString, config);
        QTemporaryDir sandbox;
        TestSupport::writeFile(sandbox.filePath("apt.conf"),
                               config.toUtf8() + "\nDir::Etc::parts \"" + sandbox.path().toUtf8() + "\";\n");
        const auto apt = [&](const QStringList& arguments) {
            QProcess process;
            process.setEnvironment({"APT_CONFIG=" + sandbox.filePath("apt.conf"), "LC_ALL=C"});
            process.start("apt-config", arguments);
            process.waitForFinished(30000);
            return QString(process.readAllStandardOutput());
        };
        QMap<QString, QString> dump;
        parseAptConfigDump(apt({"dump"}), &dump);
        const QString answer = apt({"shell", "L", "Dir::Etc::sourcelist/f", "D", "Dir::Etc::sourceparts/d"});
        QCOMPARE(SourceList::mainListPath(dump) + " " + SourceList::listDirectory(dump) + "/",
                 answer.section('\'', 1, 1) + " " + answer.section('\'', 3, 3));
    }
};

QTEST_GUILESS_MAIN(TestSourceList)
#include "tst_sourcelist.moc"
