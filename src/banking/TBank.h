#pragma once

#include "ui/common/RecordWindow.h"

// The shop's bank accounts and payment cards: the names the payment and deposit windows offer
// as the account money goes to or comes from.
class TBank : public RecordWindow
{
    Q_OBJECT

public:
    explicit TBank(QWidget* parent = nullptr);

    static RecordDescription bankDescription();
};
