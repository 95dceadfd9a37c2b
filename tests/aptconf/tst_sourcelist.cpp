// The repository lists as the settings dialog saves them. Each folder of
// fixtures/aptconf/sourcelist is a case: in/ holds the list files as found, "edits" the user's
// changes (one a line), out/ every file as it must be written, nothing else.
#include "aptconf/sourcelist.h"

#include "testsupport.h"

#include <QDirIterator>
#include <QtTest>

namespace {

const QString Cases = QStringLiteral(APTCONF_FIXTURES "/sourcelist/");

// "enable|disable|remove TEXT" acts on the first line holding TEXT; "add LINE" adds a
// repository as the editor makes it.
void apply(SourceList& list, const QString& edit)
{
    const QString verb = edit.section(' ', 0, 0), text = edit.section(' ', 1);
    QList<SourceEntry>& entries = list.entries();
    if (verb == "add") {
        entries.append(SourceList::parseLine(text, QString()));
        entries.last().line.clear();
        return;
    }
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const SourceEntry& entry) { return entry.line.contains(text); });
    QVERIFY2(it != entries.end(), qPrintable(edit));
    if (verb == "remove")
        entries.erase(it);
    else
        it->enabled = verb == "enable";
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
        list.load({{"Dir::Etc", in.mid(1)},
                   {"Dir::Etc::sourcelist", "sources.list"},
                   {"Dir::Etc::sourceparts", "sources.list.d"}});
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
    }
};

QTEST_GUILESS_MAIN(TestSourceList)
#include "tst_sourcelist.moc"
