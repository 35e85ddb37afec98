#include "masters/TProfile.h"

#include "data/Query.h"
#include "data/SqlRow.h"
#include "data/TDM.h"
#include "stores/CatalogueStore.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QList<std::pair<const char*, const char*>> profileBoxes = {
    {"Name_R", "Name"}, {"Address_R", "Address"}, {"Catagory_R", "Catagory"},
    {"City_R", "City"}, {"State_R", "State"},     {"Zip_R", "Zip"},
    {"Apt_R", "Apt"},   {"Tel_R", "Tel"},         {"Fax_R", "Fax"},
    {"Cell_R", "Cell"}, {"Web_R", "Website"},     {"Email_R", "Email"},
};
}

TProfile::TProfile(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Profile"));
    setWindowTitle(QStringLiteral("Profile"));

    auto* layout = new QVBoxLayout(this);
    auto* heading = headingLabel(this, QStringLiteral("Profile"), 18);
    layout->addWidget(heading);

    QFrame* panel = WindowParts::raisedPanel(this);
    auto* grid = new QGridLayout(panel);
    int row = 0;
    for (const auto& [column, caption] : profileBoxes) {
        auto* label = new QLabel(QString::fromLatin1(caption), panel);
        auto* box = new QLineEdit(panel);
        box->setObjectName(QString::fromLatin1(column));
        box->setMinimumWidth(320);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        m_boxes.insert(QString::fromLatin1(column), box);
        ++row;
    }
    layout->addWidget(panel);

    auto* note =
        new QLabel(QStringLiteral("After Changed Profile Please reopen the peogram."), this);
    note->setObjectName(QStringLiteral("Label13"));
    layout->addWidget(note);

    auto* buttons = new QHBoxLayout;
    auto* change = new QPushButton(QStringLiteral("Change Profile"), this);
    change->setObjectName(QStringLiteral("ChangeProfileButton"));
    change->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(change);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(change, &QPushButton::clicked, this, [this] { guard([this] { changeProfile(); }); });
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
}

void TProfile::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        guard([this] { load(); });
    }
}

QString TProfile::text(const QString& column) const
{
    QLineEdit* box = m_boxes.value(column);
    return box ? box->text() : QString();
}

void TProfile::load()
{
    Query profile(QStringLiteral("Profile"), DM->admin1());
    CatalogueStore().profile(profile);
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it)
        it.value()->setText(profile.isEmpty() ? QString() : profile.field(it.key()).asText());
    if (profile.isEmpty())
        Prompter::instance().inform(
            QStringLiteral("This shop has no profile yet: the printouts have no shop name or "
                           "address to show. Type them here and press Change Profile."));
}

void TProfile::changeProfile()
{
    // The one profile row, number 1, with every box as typed.
    SqlRow row(QStringLiteral("Reg"));
    row.set(QStringLiteral("Id_R"), QStringLiteral("1"));
    for (const auto& [column, caption] : profileBoxes)
        row.setText(QString::fromLatin1(column), text(QString::fromLatin1(column)));
    // A shop without its profile row gets it now, rather than being told it was changed.
    CatalogueStore().saveProfile(row);
    // The printouts read the profile the data module keeps: reloaded, they show the change at
    // once.
    DM->reloadProfile();
    closeWindow(this);
}
