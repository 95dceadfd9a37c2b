#include "tarnhelpmenu.h"

#include "tarnintegration.h"

#include <QCoreApplication>
#include <QMessageBox>

TarnHelpMenu::TarnHelpMenu(QWidget* parent) : QMenu(tr("Help"), parent)
{
    setObjectName(QStringLiteral("helpMenu"));
    QAction* guide = addAction(QIcon::fromTheme(QStringLiteral("help-contents")), tr("User Guide"));
    guide->setObjectName(QStringLiteral("helpGuideAction"));
    connect(guide, &QAction::triggered, this, [] { tarnHelpShow(QString()); });
    QAction* about = addAction(QIcon::fromTheme(QStringLiteral("help-about")), tr("About"));
    about->setObjectName(QStringLiteral("helpAboutAction"));
    connect(about, &QAction::triggered, this, &TarnHelpMenu::onAboutTriggered);
}

QString TarnHelpMenu::aboutText()
{
    return tr("<h3>%1 %2</h3><p>%3</p><p>Licensed under the GNU General Public License, version 2 or "
              "later.</p>")
        .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
             tarnDescription().toHtmlEscaped());
}

void TarnHelpMenu::onAboutTriggered()
{
    QMessageBox::about(nullptr, tr("About %1").arg(QCoreApplication::applicationName()), aboutText());
}
