// Which user guide F1 and the Help menu open: the one in the language of the program's texts
// when it is installed, else the English one. Cases: tests/fixtures/platform/userguide.txt.
// Qt's own texts follow the language too.
#include "testsupport.h"

#include "base/systempaths.h"
#include "platform/tarnintegration.h"

#include <QtTest>

class TestUserGuide : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void guideFollowsLanguage()
    {
        const QString rows = TestSupport::readFile(TARN_SOURCE_DIR "/tests/fixtures/platform/userguide.txt");
        QVERIFY(!rows.isEmpty());
        for (const QString& line : rows.split('\n').filter(QRegularExpression("^\\w"))) {
            const QStringList row = line.split(' ');
            SystemPaths paths;
            paths.userGuide = TARN_SOURCE_DIR "/" + row[1] + "/index.html";
            SystemPaths::setCurrent(paths);
            QLocale::setDefault(QLocale(row[0]));
            tarnLoadTranslations();
            QVERIFY2(tarnHelpIndexPath() == TARN_SOURCE_DIR "/" + row[1] + "/" + row[2], qPrintable(line));
        }
    }

    // Qt's own texts, such as the buttons' and the line edits' menus, follow ours.
    void qtTextsFollowLanguage()
    {
        QLocale::setDefault(QLocale("de_DE"));
        tarnInit("1", "");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Paste"), QStringLiteral("Einf&ügen"));
    }
};

QTEST_GUILESS_MAIN(TestUserGuide)
#include "tst_userguide.moc"
