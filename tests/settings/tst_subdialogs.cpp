// The three sub-dialogs of the settings dialog on their own: the repository editor, the
// origin pattern editor and the ignored package list.
#include "settings/originspatterndialog.h"
#include "settings/packageblacklistdialog.h"
#include "settings/sourceeditor.h"

#include "settingstesting.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QtTest>

using SettingsTesting::child;

namespace {

QStringList noFields()
{
    return {QString(), QString(), QString(), QString(), QString(), QString()};
}

QStringList fieldTexts(QDialog& dialog)
{
    QStringList texts;
    for (const char* name : {"archiveComboBox", "componentComboBox", "labelComboBox", "originComboBox",
                             "codeNameComboBox", "siteComboBox"})
        texts.append(child<QComboBox>(&dialog, name)->currentText());
    return texts;
}

QStringList rowTexts(QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

// What typing one character at the end of a field does.
void typeInto(QComboBox* field, const QString& text)
{
    field->setFocus();
    field->lineEdit()->end(false);
    QTest::keyClicks(field->lineEdit(), text);
}

SourceEntry repository()
{
    SourceEntry entry = SourceList::parseLine(
        QStringLiteral(
            "deb [arch=amd64 signed-by=/usr/share/keyrings/x.gpg] http://x.example/ stable main # mine\n"),
        QStringLiteral("/etc/apt/sources.list.d/x.list"));
    entry.enabled = false;
    return entry;
}

} // namespace

class TestSubDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- SourceEditor ---

    void newRepositoryStartsEmpty()
    {
        SourceEditor editor;
        QCOMPARE(editor.windowTitle(), QStringLiteral("Add Repository"));
        auto* type = child<QComboBox>(&editor, "typeComboBox");
        QCOMPARE(type->count(), 2);
        QCOMPARE(type->currentIndex(), 0);
        QCOMPARE(type->itemText(0), QStringLiteral("Binary (deb)"));
        QCOMPARE(type->itemData(1).toString(), QStringLiteral("deb-src"));
        QVERIFY(child<QLineEdit>(&editor, "uriLineEdit")->text().isEmpty());
        QCOMPARE(editor.entry(), SourceEntry());
    }

    void editorShowsTheEntry_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("shown");
        QTest::newRow("deb") << "deb" << 0;
        QTest::newRow("deb-src") << "deb-src" << 1;
        QTest::newRow("other type falls back to deb") << "rpm" << 0;
        QTest::newRow("case matters") << "DEB-SRC" << 0;
    }
    void editorShowsTheEntry()
    {
        QFETCH(QString, type);
        QFETCH(int, shown);
        SourceEntry entry = repository();
        entry.type = type;
        SourceEditor editor(entry);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Edit Repository"));
        QCOMPARE(child<QComboBox>(&editor, "typeComboBox")->currentIndex(), shown);
        QCOMPARE(child<QLineEdit>(&editor, "uriLineEdit")->text(), QStringLiteral("http://x.example/"));
        QCOMPARE(child<QLineEdit>(&editor, "distLineEdit")->text(), QStringLiteral("stable"));
        QCOMPARE(child<QLineEdit>(&editor, "sectionsLineEdit")->text(), QStringLiteral("main"));

        editor.accept();
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        SourceEntry expected = repository();
        expected.type = shown == 0 ? QStringLiteral("deb") : QStringLiteral("deb-src");
        QCOMPARE(editor.entry(), expected); // everything the editor does not show passes through
    }

    void editorTakesTheFields_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<QString>("distribution");
        QTest::addColumn<QString>("sections");
        QTest::addColumn<QStringList>("expectedSections");
        QTest::addColumn<bool>("valid");
        QTest::newRow("complete") << "http://y.example/"
                                  << "bookworm"
                                  << "main  contrib" << QStringList{"main", "contrib"} << true;
        QTest::newRow("outer spaces") << "http://y.example/"
                                      << "bookworm"
                                      << "  main " << QStringList{"main"} << true;
        QTest::newRow("no sections") << "http://y.example/"
                                     << "bookworm"
                                     << "" << QStringList() << true;
        QTest::newRow("no URI") << ""
                                << "bookworm"
                                << "main" << QStringList{"main"} << false;
        QTest::newRow("no distribution") << "http://y.example/"
                                         << ""
                                         << "main" << QStringList{"main"} << false;
        QTest::newRow("URI kept untrimmed") << " http://y.example/"
                                            << "bookworm"
                                            << "main" << QStringList{"main"} << true;
    }
    void editorTakesTheFields()
    {
        QFETCH(QString, uri);
        QFETCH(QString, distribution);
        QFETCH(QString, sections);
        QFETCH(QStringList, expectedSections);
        QFETCH(bool, valid);
        SourceEditor editor;
        child<QComboBox>(&editor, "typeComboBox")->setCurrentIndex(1);
        child<QLineEdit>(&editor, "uriLineEdit")->setText(uri);
        child<QLineEdit>(&editor, "distLineEdit")->setText(distribution);
        child<QLineEdit>(&editor, "sectionsLineEdit")->setText(sections);
        child<QDialogButtonBox>(&editor, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(editor.result(), int(QDialog::Accepted)); // never refused
        const SourceEntry entry = editor.entry();
        QCOMPARE(entry.type, QStringLiteral("deb-src"));
        QCOMPARE(entry.uri, uri);
        QCOMPARE(entry.distribution, distribution);
        QCOMPARE(entry.sections, expectedSections);
        QCOMPARE(entry.valid, valid);
        QVERIFY(!entry.enabled);
        QVERIFY(entry.file.isEmpty());
    }

    void editorCancelTouchesNothing()
    {
        SourceEditor editor(repository());
        child<QLineEdit>(&editor, "uriLineEdit")->setText(QStringLiteral("http://other.example/"));
        child<QDialogButtonBox>(&editor, "buttonBox")->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(editor.result(), int(QDialog::Rejected));
        QCOMPARE(editor.entry(), repository());
    }

    // --- OriginsPatternDialog ---

    void patternEditorStartsWithoutSelection()
    {
        OriginsPatternDialog dialog({QStringLiteral("origin=Debian")});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Upgrade Pattern Editor"));
        QVERIFY(!child<QWidget>(&dialog, "editAreaWidget")->isEnabled());
        QVERIFY(!child<QToolButton>(&dialog, "removePatternButton")->isEnabled());
        QCOMPARE(fieldTexts(dialog), noFields());
        QCOMPARE(child<QComboBox>(&dialog, "siteComboBox")->count(), 3);
        QCOMPARE(child<QComboBox>(&dialog, "codeNameComboBox")->itemText(0),
                 QStringLiteral("${distro_codename}"));
        QCOMPARE(dialog.patterns(), QStringList{"origin=Debian"});
    }

    void newPatternIsOriginDebian()
    {
        OriginsPatternDialog dialog({QStringLiteral("o=Debian,a=stable")});
        auto* list = child<QListWidget>(&dialog, "patternsListWidget");
        child<QToolButton>(&dialog, "addPatternButton")->click();
        QCOMPARE(rowTexts(list), (QStringList{"o=Debian,a=stable", "origin=Debian"}));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(fieldTexts(dialog), (QStringList{"", "", "", "Debian", "", ""}));
        QVERIFY(child<QWidget>(&dialog, "editAreaWidget")->isEnabled());
        QVERIFY(child<QToolButton>(&dialog, "removePatternButton")->isEnabled());
    }

    void shortNamesShownUnchangedThenRewritten_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rewritten");
        QTest::newRow("archive") << "archiveComboBox"
                                 << "x"
                                 << "archive=stablex,origin=Debian";
        QTest::newRow("site") << "siteComboBox"
                              << "m"
                              << "archive=stable,origin=Debian,site=m";
        QTest::newRow("origin") << "originComboBox"
                                << "!"
                                << "archive=stable,origin=Debian!";
    }
    void shortNamesShownUnchangedThenRewritten()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, rewritten);
        OriginsPatternDialog dialog({QStringLiteral("o=Debian,a=stable"), QStringLiteral("origin=Other")});
        auto* list = child<QListWidget>(&dialog, "patternsListWidget");
        list->setCurrentRow(0);
        QCOMPARE(fieldTexts(dialog), (QStringList{"stable", "", "", "Debian", "", ""}));
        QCOMPARE(list->item(0)->text(), QStringLiteral("o=Debian,a=stable")); // showing changes nothing
        list->setCurrentRow(1);
        list->setCurrentRow(0);
        QCOMPARE(list->item(0)->text(), QStringLiteral("o=Debian,a=stable"));

        typeInto(child<QComboBox>(&dialog, field.toLatin1().constData()), typed);
        QCOMPARE(list->item(0)->text(), rewritten);
        QCOMPARE(list->item(1)->text(), QStringLiteral("origin=Other"));
    }

    void choosingAPresetRewrites()
    {
        OriginsPatternDialog dialog({QStringLiteral("origin=Debian")});
        auto* list = child<QListWidget>(&dialog, "patternsListWidget");
        list->setCurrentRow(0);
        child<QComboBox>(&dialog, "labelComboBox")->setCurrentIndex(1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("label=Debian-Security,origin=Debian"));
    }

    void unknownPiecesDroppedOnEdit()
    {
        OriginsPatternDialog dialog({QStringLiteral("origin=Debian,foo=bar, site = mirror")});
        auto* list = child<QListWidget>(&dialog, "patternsListWidget");
        list->setCurrentRow(0);
        QCOMPARE(fieldTexts(dialog), (QStringList{"", "", "", "Debian", "", "mirror"}));
        QCOMPARE(list->item(0)->text(), QStringLiteral("origin=Debian,foo=bar, site = mirror"));
        typeInto(child<QComboBox>(&dialog, "componentComboBox"), QStringLiteral("main"));
        QCOMPARE(list->item(0)->text(), QStringLiteral("component=main,origin=Debian,site=mirror"));
    }

    void unreadablePatternStaysUntilEdited()
    {
        OriginsPatternDialog dialog({QStringLiteral("garbage")});
        auto* list = child<QListWidget>(&dialog, "patternsListWidget");
        list->setCurrentRow(0);
        QCOMPARE(fieldTexts(dialog), noFields());
        QCOMPARE(dialog.patterns(), QStringList{"garbage"});
    }

    void emptiedPatternIsLeftOut()
    {
        OriginsPatternDialog dialog({QStringLiteral("origin=Debian"), QStringLiteral("label=Debian")});
        auto* list = child<QListWidget>(&dialog, "patternsListWidget");
        list->setCurrentRow(0);
        child<QComboBox>(&dialog, "originComboBox")->setEditText(QString());
        QCOMPARE(rowTexts(list), (QStringList{"", "label=Debian"}));
        QCOMPARE(dialog.patterns(), QStringList{"label=Debian"});
    }

    void removingTheLastRowDisablesEditing()
    {
        OriginsPatternDialog dialog({QStringLiteral("origin=Debian"), QStringLiteral("label=Debian")});
        auto* list = child<QListWidget>(&dialog, "patternsListWidget");
        auto* remove = child<QToolButton>(&dialog, "removePatternButton");
        list->setCurrentRow(0);
        remove->click();
        QCOMPARE(rowTexts(list), QStringList{"label=Debian"});
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(fieldTexts(dialog), (QStringList{"", "", "Debian", "", "", ""}));
        remove->click();
        QCOMPARE(list->count(), 0);
        QVERIFY(!remove->isEnabled());
        QVERIFY(!child<QWidget>(&dialog, "editAreaWidget")->isEnabled());
        QCOMPARE(fieldTexts(dialog), noFields());
        remove->click(); // disabled: nothing
        QCOMPARE(dialog.patterns(), QStringList());
    }

    // --- PackageBlackListDialog ---

    void emptyPackageList()
    {
        PackageBlackListDialog dialog({});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Ignored Package List"));
        QCOMPARE(child<QListWidget>(&dialog, "packagesListWidget")->count(), 0);
        QVERIFY(!child<QToolButton>(&dialog, "removePackageButton")->isEnabled());
        QCOMPARE(dialog.packages(), QStringList());
    }

    void newPackageIsStarAndEdited()
    {
        PackageBlackListDialog dialog({QStringLiteral("linux-")});
        dialog.show();
        auto* list = child<QListWidget>(&dialog, "packagesListWidget");
        child<QToolButton>(&dialog, "addPackageButton")->click();
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(child<QToolButton>(&dialog, "removePackageButton")->isEnabled());
        QVERIFY(list->item(1)->flags() & Qt::ItemIsEditable);
        QVERIFY(list->indexWidget(list->currentIndex())); // the editor is open at once
        QCOMPARE(dialog.packages(), (QStringList{"linux-", "*"}));
    }

    void packageTexts_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("packages");
        QTest::newRow("empty left out") << QStringList{"a", "", "b"} << QStringList{"a", "b"};
        QTest::newRow("spaces kept") << QStringList{"  ", " c "} << QStringList{"  ", " c "};
        QTest::newRow("duplicates kept") << QStringList{"d", "d"} << QStringList{"d", "d"};
    }
    void packageTexts()
    {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, packages);
        QStringList initial;
        for (int row = 0; row < texts.size(); ++row)
            initial.append(QStringLiteral("x"));
        PackageBlackListDialog dialog(initial);
        auto* list = child<QListWidget>(&dialog, "packagesListWidget");
        for (int row = 0; row < texts.size(); ++row) {
            QVERIFY(list->item(row)->flags() & Qt::ItemIsEditable);
            list->item(row)->setText(texts.at(row)); // what inline editing stores
        }
        QCOMPARE(dialog.packages(), packages);
    }

    void removingTheLastPackageDisablesRemove()
    {
        PackageBlackListDialog dialog({QStringLiteral("a")});
        auto* list = child<QListWidget>(&dialog, "packagesListWidget");
        auto* remove = child<QToolButton>(&dialog, "removePackageButton");
        list->setCurrentRow(0);
        QVERIFY(remove->isEnabled());
        remove->click();
        QCOMPARE(list->count(), 0);
        QVERIFY(!remove->isEnabled());
        remove->click();
        QCOMPARE(dialog.packages(), QStringList());
    }
};

QTEST_MAIN(TestSubDialogs)
#include "tst_subdialogs.moc"
