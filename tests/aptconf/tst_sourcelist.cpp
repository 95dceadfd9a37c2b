// The repository lists as the settings dialog shows and saves them. Each folder of
// fixtures/aptconf/sourcelist is a case: in/ holds the list files as found, "rows" the rows the
// tab shows, each "edits[.NAME]" the user's changes (one a line) made on a fresh load and
// out[.NAME]/ every file they must write, nothing else.
#include "aptconf/aptconfig.h"
#include "aptconf/sourcelist.h"

#include "testsupport.h"

#include <QDirIterator>
#include <QtTest>

namespace {

const QString Cases = QStringLiteral(APTCONF_FIXTURES "/sourcelist/");

// "enable|disable|remove|up|down TEXT" acts on the first shown row holding TEXT, "set
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
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const SourceEntry& entry) {
        return entry.valid && entry.line.contains(text);
    });
    QVERIFY2(it != entries.end(), qPrintable(edit));
    const QStringList values = assignment.section('=', 1).split(',');
    const QMap<QString, QString*> fields = {
        {"type", &it->type}, {"uri", &it->uri}, {"distribution", &it->distribution}};
    const int row = int(it - entries.begin()), step = verb == "up" ? -1 : 1;
    if (verb == "remove") {
        const QList<int> rows = SourceList::removedRows(entries, row);
        for (int at = rows.size() - 1; at >= 0; --at)
            entries.removeAt(rows.at(at));
    } else if (verb == "up" || verb == "down") { // as the tab moves a row: past the shown row beside it
        int target = row + step;
        while (target >= 0 && target < entries.size() && !entries.at(target).valid)
            target += step;
        QVERIFY2(target >= 0 && target < entries.size(), qPrintable(edit));
        QList<SourceEntry> moved;
        for (int at : SourceList::swappedOrder(entries, qMin(row, target), qMax(row, target)))
            moved.append(entries.at(at));
        entries = moved;
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
        for (QString uri : entry.stanza ? entry.uri.split(' ') : QStringList{entry.uri}) {
            uri.replace(QRegularExpression("^cdrom:\\[([^/\\]]*)\\]"), "cdrom://\\1")
                .replace("cdrom:[", "cdrom://[")
                .remove(QRegularExpression("/$"));
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

// "type|uri|distribution|sections|enabled|file|options" for each row the tab shows.
QStringList shownRows(const SourceList& list, const QString& in)
{
    QStringList rows;
    for (const SourceEntry& e : list.entries()) {
        if (e.valid)
            rows.append(QStringList{e.type, e.uri, e.distribution, e.sections.join(' '),
                                    e.enabled ? "yes" : "no", e.file.mid(in.size() + 1),
                                    SourceList::optionsText(e)}
                            .join('|'));
    }
    return rows;
}

} // namespace

class TestSourceList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void save_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("edits");
        for (const QString& name : QDir(Cases).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QStringList edits = QDir(Cases + name).entryList({"edits*"}, QDir::Files);
            for (const QString& edit : edits.isEmpty() ? QStringList{"edits"} : edits)
                QTest::newRow(qPrintable(name + edit.mid(5))) << Cases + name << edit;
        }
    }

    void save()
    {
        QFETCH(QString, dir);
        QFETCH(QString, edits);
        const QString in = dir + "/in", out = dir + "/out" + edits.mid(5);
        SourceList list;
        // APT prints Dir::Etc without its leading slash.
        list.load({{"Dir", "/"},
                   {"Dir::Etc", in.mid(1)},
                   {"Dir::Etc::sourcelist", "sources.list"},
                   {"Dir::Etc::sourceparts", "sources.list.d"}});
        QCOMPARE(list.toFileMap(), QVariantMap()); // as read: nothing to write
        QCOMPARE(aptReleaseFiles(in, {}), shownReleaseFiles(list));
        if (QFile::exists(dir + "/rows"))
            QCOMPARE(shownRows(list, in),
                     QString(TestSupport::readFile(dir + "/rows")).split('\n', Qt::SkipEmptyParts));
        for (const QString& edit :
             QString(TestSupport::readFile(dir + "/" + edits)).split('\n', Qt::SkipEmptyParts))
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

    // The tab lists the files APT reads, in APT's order: by the bytes of their names.
    void listFilesAsAptReadsThem()
    {
        QTemporaryDir dir;
        for (const char* name :
             {"a.list", "B.list", "_u.list", "9.sources", "a.b.list", "Upper.LIST", "Zed.Sources",
              "my repo.list", "vendor+extra.list", "tilde~.list", "café.list", ".x.list", "a.list.save"})
            TestSupport::writeFile(dir.filePath(name), "");
        QStringList names;
        for (const QString& path : SourceList::listFiles(dir.path()))
            names.append(QFileInfo(path).fileName());
        QCOMPARE(names, (QStringList{"9.sources", "B.list", "_u.list", "a.b.list", "a.list"}));
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
