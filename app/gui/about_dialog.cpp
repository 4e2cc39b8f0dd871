#include "app/gui/about_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/artwork.h"
#include "commands/command_table.h"
#include "commands/web_pages.h"
#include "platform/program_version.h"

namespace quorbel::gui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kAboutCaption);
    setObjectName(QStringLiteral("aboutDialog"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(AppIcon(48)));
    auto* name = new QLabel(kApplicationName, this);
    name->setObjectName(QStringLiteral("applicationName"));
    auto* heading = new QHBoxLayout;
    heading->addWidget(icon);
    heading->addWidget(name, 1);

    auto* version = new QGroupBox(QStringLiteral("Quorbel Version ") + ProgramVersion(), this);
    version->setObjectName(QStringLiteral("versionGroup"));
    auto* visit = new QPushButton(kVisitWebSiteText, version);
    visit->setObjectName(QStringLiteral("control1010"));
    visit->setAutoDefault(false);
    auto* versionLayout = new QVBoxLayout(version);
    versionLayout->addWidget(visit, 0, Qt::AlignCenter);
    connect(visit, &QPushButton::clicked, this, [] { OpenOwnPage(WebPage::Home); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(version);
    layout->addStretch(1);
    layout->addWidget(buttons);
    // About the size of the box the program has always shown.
    resize(270, 275);
}

}  // namespace quorbel::gui
