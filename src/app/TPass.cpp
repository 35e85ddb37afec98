#include "app/TPass.h"

#include "app/TMainForm.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "stores/UserStore.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"
#include "ui/common/Windows.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

namespace {

const QString refused =
    QStringLiteral("This User Or Password is NOT Active Please try Again ......");

QString seconds(int n)
{
    return n == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(n);
}

} // namespace

TPass::TPass(TMainForm* mainForm)
    : m_mainForm(mainForm)
{
    setObjectName(QStringLiteral("Pass"));
    setWindowTitle(QStringLiteral("Pass"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    outer->addWidget(panel);

    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);

    auto* prompt = new QLabel(QStringLiteral("Pleas insert user name and Password"), panel);
    prompt->setObjectName(QStringLiteral("Label3"));
    QFont bold = prompt->font();
    bold.setBold(true);
    prompt->setFont(bold);
    grid->addWidget(prompt, 0, 0, 1, 2, Qt::AlignHCenter);

    auto* userLabel = new QLabel(QStringLiteral("User Name"), panel);
    userLabel->setObjectName(QStringLiteral("Label1"));
    m_userName = new QLineEdit(QStringLiteral("Guest"), panel);
    m_userName->setObjectName(QStringLiteral("Edit1"));
    userLabel->setBuddy(m_userName);
    grid->addWidget(userLabel, 1, 0);
    grid->addWidget(m_userName, 1, 1);

    auto* passwordLabel = new QLabel(QStringLiteral("Password"), panel);
    passwordLabel->setObjectName(QStringLiteral("Label2"));
    m_password = new QLineEdit(QStringLiteral("gt"), panel);
    m_password->setObjectName(QStringLiteral("Edit2"));
    m_password->setEchoMode(QLineEdit::Password);
    // Each typed character shows as "*" rather than the style's dot.
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    passwordLabel->setBuddy(m_password);
    grid->addWidget(passwordLabel, 2, 0);
    grid->addWidget(m_password, 2, 1);

    m_ok = new QPushButton(WindowParts::svgIcon(QStringLiteral(":/icons/ok.svg"), QSize(16, 16)),
                           QStringLiteral("&OK"), panel);
    m_ok->setObjectName(QStringLiteral("BitBtn2"));
    m_ok->setAutoDefault(false);
    grid->addWidget(m_ok, 3, 1, Qt::AlignRight);
    connect(m_ok, &QPushButton::clicked, this, [this] { guard([this] { signIn(); }); });

    auto* chain = new FocusChain(this);
    chain->add({m_userName, m_password, m_ok});

    setFixedSize(360, 170);
    setFocusProxy(m_userName);
}

TPass* TPass::open(TMainForm* mainForm)
{
    auto* form = new TPass(mainForm);
    QMdiSubWindow* sub = mainForm->addChild(form, Qt::FramelessWindowHint);
    sub->setFixedSize(form->size());
    auto centre = [mainForm, sub] {
        const QRect area = mainForm->mdiArea()->viewport()->rect();
        sub->move(area.center() - sub->rect().center());
    };
    centre();
    // The main window reaches its final size only once it is shown.
    QTimer::singleShot(0, sub, centre);
    form->m_userName->setFocus();
    return form;
}

void TPass::signIn()
{
    const UserStore::SignIn outcome = UserStore().signIn(m_userName->text(), m_password->text());
    switch (outcome.result) {
    case UserStore::Result::Accepted:
        break;
    case UserStore::Result::Refused:
        Prompter::instance().inform(
            outcome.waitSeconds > 0
                ? refused + QStringLiteral("\n\nToo many wrong passwords: wait %1 before the "
                                           "next try.")
                                .arg(seconds(outcome.waitSeconds))
                : refused);
        return;
    case UserStore::Result::Waiting:
        Prompter::instance().inform(QStringLiteral("Too many wrong passwords for %1: wait %2 "
                                                   "before the next try.")
                                        .arg(outcome.name, seconds(outcome.waitSeconds)));
        return;
    case UserStore::Result::Disabled:
        Prompter::instance().inform(QStringLiteral("The user %1 is disabled. Ask the shop's "
                                                   "owner.")
                                        .arg(outcome.name));
        return;
    }
    if (m_mainForm)
        m_mainForm->setUser(outcome.name, outcome.owner);
    closeWindow(this);
}
