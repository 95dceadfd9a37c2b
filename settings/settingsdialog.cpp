#include "settingsdialog.h"

#include "platform/tarnintegration.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(tr("Update notifier - Settings"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    m_updatesStatusLabel = new QLabel(this);
    m_updatesStatusLabel->setObjectName(QStringLiteral("updatesStatusLabel"));
    layout->addWidget(m_updatesStatusLabel);

    auto* checkButton = new QPushButton(tr("Check for updates"), this);
    checkButton->setObjectName(QStringLiteral("checkForUpdatesButton"));
    connect(checkButton, &QPushButton::clicked, this, &SettingsDialog::checkForUpdatesRequest);
    layout->addWidget(checkButton);

    auto* buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttonBox);

    auto* help = new QAction(this);
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, [] { tarnHelpShow(QString()); });
    addAction(help);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::setUpgradablePackagesCount(int count)
{
    m_updatesStatusLabel->setText(tr("Number of the upgradable packages: %1").arg(count));
}
