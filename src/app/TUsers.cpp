#include "app/TUsers.h"

#include "data/DbError.h"
#include "data/Password.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "stores/UserStore.h"
#include "ui/common/DataGrid.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"
#include "ui/common/Windows.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* secretBox(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    return box;
}

} // namespace

TUsers::TUsers(QWidget* parent)
    : QWidget(parent)
    , m_users(new Query(QStringLiteral("Users"), DM->admin1(), this))
{
    setObjectName(QStringLiteral("Users"));
    setWindowTitle(QStringLiteral("Users"));
    QVBoxLayout* layout = WindowParts::windowLayout(this, QStringLiteral("Users"));

    m_grid = new DataGrid(m_users, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setTitles(
        {QStringLiteral("User Name"), QStringLiteral("Owner"), QStringLiteral("Disabled")});
    m_grid->setMinimumHeight(150);
    layout->addWidget(m_grid, 1);

    QFrame* panel = WindowParts::raisedPanel(this, QStringLiteral("Panel1"));
    auto* row = new QHBoxLayout(panel);
    QGridLayout* grid = WindowParts::boxGrid();
    row->addLayout(grid, 1);
    m_name = new QLineEdit(panel);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_password = secretBox(panel, QStringLiteral("Edit2"));
    m_again = secretBox(panel, QStringLiteral("Edit3"));
    m_owner = new QCheckBox(QStringLiteral("Owner: manages the users"), panel);
    m_owner->setObjectName(QStringLiteral("CheckBox1"));
    const QList<std::pair<QString, QWidget*>> boxes = {
        {QStringLiteral("User Name"), m_name},
        {QStringLiteral("Password"), m_password},
        {QStringLiteral("Again"), m_again},
    };
    for (int i = 0; i < boxes.size(); ++i) {
        auto* label = new QLabel(boxes.at(i).first, panel);
        label->setBuddy(boxes.at(i).second);
        grid->addWidget(label, i, 0);
        grid->addWidget(boxes.at(i).second, i, 1);
    }
    grid->addWidget(m_owner, int(boxes.size()), 1);

    auto* buttons = new QVBoxLayout;
    row->addLayout(buttons);
    QPushButton* add = WindowParts::commandButton(panel, QStringLiteral("&Add"), "Button1");
    QPushButton* password =
        WindowParts::commandButton(panel, QStringLiteral("Set &Password"), "Button2");
    m_disable = WindowParts::commandButton(panel, QStringLiteral("&Disable"), "Button3");
    QPushButton* code =
        WindowParts::commandButton(panel, QStringLiteral("Archive &Code"), "Button4");
    QPushButton* close = WindowParts::commandButton(panel, QStringLiteral("Close"), "Button5");
    add->setToolTip(QStringLiteral("Add the user named in User Name with the password typed "
                                   "twice"));
    password->setToolTip(QStringLiteral("Give the user named in User Name the password typed "
                                        "twice"));
    m_disable->setToolTip(QStringLiteral("A disabled user cannot sign in"));
    code->setToolTip(QStringLiteral("Make the password typed twice the code that unlocks "
                                    "archiving"));
    for (QPushButton* b : {add, password, m_disable, code, close})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addWidget(panel);

    connect(add, &QPushButton::clicked, this, [this] { guard([this] { addUser(); }); });
    connect(password, &QPushButton::clicked, this, [this] { guard([this] { setPassword(); }); });
    connect(m_disable, &QPushButton::clicked, this,
            [this] { guard([this] { toggleDisabled(); }); });
    connect(code, &QPushButton::clicked, this, [this] { guard([this] { setArchiveCode(); }); });
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    connect(m_users, &Query::currentRowChanged, this, [this] { showRow(); });

    auto* chain = new FocusChain(this);
    chain->add({m_name, m_password, m_again, m_owner, add, password, m_disable, code, close});
    reload();
    resize(560, 440);
}

TUsers::~TUsers() = default;

void TUsers::reload(const QString& current)
{
    UserStore().list(*m_users);
    if (!current.isEmpty()) {
        const int row = m_users->findRow(QStringLiteral("UserName_Pass"), current);
        if (row >= 0)
            m_users->setCurrentRow(row);
    }
    showRow();
}

void TUsers::showRow()
{
    if (m_users->isEmpty() || m_users->currentRow() < 0)
        return;
    m_name->setText(m_users->field(QStringLiteral("UserName_Pass")).asText());
    m_disable->setText(m_users->field(QStringLiteral("Disabled_Pass")).asBool()
                           ? QStringLiteral("&Enable")
                           : QStringLiteral("&Disable"));
}

QString TUsers::typedTwice(const QString& what)
{
    const QString password = m_password->text();
    if (password != m_again->text()) {
        Prompter::instance().error(
            QStringLiteral("The %1 and its repetition in Again differ: type it twice the same.")
                .arg(what));
        return QString();
    }
    if (password.size() < Password::minimumLength) {
        Prompter::instance().error(QStringLiteral("A %1 has at least %2 characters.")
                                       .arg(what)
                                       .arg(Password::minimumLength));
        return QString();
    }
    return password;
}

void TUsers::addUser()
{
    const QString name = m_name->text().trimmed();
    const QString password = typedTwice(QStringLiteral("password"));
    if (password.isEmpty())
        return;
    UserStore().add(name, password, m_owner->isChecked());
    m_password->clear();
    m_again->clear();
    reload(name);
    Prompter::instance().inform(QStringLiteral("%1 is added.").arg(name));
}

void TUsers::setPassword()
{
    const QString name = m_name->text().trimmed();
    const QString password = typedTwice(QStringLiteral("password"));
    if (password.isEmpty())
        return;
    UserStore().setPassword(name, password);
    m_password->clear();
    m_again->clear();
    emit usersChanged();
    Prompter::instance().inform(QStringLiteral("%1 has a new password.").arg(name));
}

void TUsers::toggleDisabled()
{
    const QString name = m_name->text().trimmed();
    const auto user = UserStore().user(name);
    if (!user)
        throw DbError(QStringLiteral("There is no user %1.").arg(name));
    UserStore().setDisabled(user->name, !user->disabled);
    reload(user->name);
    Prompter::instance().inform(user->disabled
                                    ? QStringLiteral("%1 can sign in again.").arg(user->name)
                                    : QStringLiteral("%1 is disabled and cannot sign "
                                                     "in.")
                                          .arg(user->name));
}

void TUsers::setArchiveCode()
{
    const QString code = typedTwice(QStringLiteral("archive code"));
    if (code.isEmpty())
        return;
    UserStore().setArchiveCode(code);
    m_password->clear();
    m_again->clear();
    Prompter::instance().inform(QStringLiteral("The archive code is changed."));
}
