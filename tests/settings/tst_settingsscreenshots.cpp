// Pictures of every tab of the settings dialog and of its sub-dialogs, written to the
// build tree for a reviewer to look at.
#include "settings/originspatterndialog.h"
#include "settings/packageblacklistdialog.h"
#include "settings/settingsdialog.h"
#include "settings/sourceeditor.h"

#include "settingstesting.h"

#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QtTest>

using namespace SettingsTesting;

class TestSettingsScreenshots : public QObject
{
    Q_OBJECT

private:
    QStringList m_written;

    void save(QWidget* widget, const QString& name)
    {
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        const QImage image = widget->grab().toImage();
        // A picture of one or two colours would mean nothing was drawn.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 4) {
            for (int x = 0; x < image.width(); x += 4)
                colours.insert(image.pixel(x, y));
        }
        QVERIFY2(colours.size() > 2, qPrintable(name));
        const QString path = QDir(QStringLiteral(TARN_SCREENSHOT_DIR)).filePath(name + QLatin1String(".png"));
        QVERIFY(QDir().mkpath(QStringLiteral(TARN_SCREENSHOT_DIR)));
        QVERIFY2(image.save(path), qPrintable(path));
        m_written.append(path);
        qInfo("screenshot: %s", qPrintable(path));
    }

private Q_SLOTS:
    void initTestCase() { initSettingsTests("tst_settingsscreenshots"); }

    void settingsDialogTabs()
    {
        Sandbox sandbox;
        sandbox.writeMainList("deb http://deb.debian.org/debian bookworm main contrib\n"
                              "# comment\n"
                              "# deb-src http://deb.debian.org/debian bookworm main\n"
                              "deb http://security.debian.org/debian-security bookworm-security main\n");
        sandbox.writeListFile("extra.list", "deb [arch=amd64] http://repo.example/ stable main\n");
        auto* dialog = new SettingsDialog;
        dialog->setUpgradablePackagesCount(3);
        auto* tabs = child<QTabWidget>(dialog, "tabWidget");
        const QStringList names = {"general", "notification", "unattended", "repositories"};
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            save(dialog, QStringLiteral("settings-%1-%2").arg(tab + 1).arg(names.at(tab)));
        }
        child<QPushButton>(dialog, "morePushButton")->click();
        tabs->setCurrentIndex(0);
        save(dialog, QStringLiteral("settings-5-advanced"));
        delete dialog;
    }

    void subDialogs()
    {
        SourceEntry entry = SourceList::parseLine(
            QStringLiteral("deb http://deb.debian.org/debian bookworm main\n"), QString());
        SourceEditor editor(entry);
        save(&editor, QStringLiteral("sourceeditor"));
        OriginsPatternDialog patterns(
            {QStringLiteral("origin=Debian,codename=${distro_codename},label=Debian"),
             QStringLiteral("origin=Debian,codename=${distro_codename}-security")});
        child<QListWidget>(&patterns, "patternsListWidget")->setCurrentRow(0);
        save(&patterns, QStringLiteral("originspatterndialog"));
        PackageBlackListDialog packages({QStringLiteral("linux-"), QStringLiteral("libc6")});
        save(&packages, QStringLiteral("packageblacklistdialog"));
    }

    void cleanupTestCase()
    {
        for (const QString& path : qAsConst(m_written))
            QVERIFY(QFileInfo(path).size() > 0);
    }
};

QTEST_MAIN(TestSettingsScreenshots)
#include "tst_settingsscreenshots.moc"
