#pragma once

#include "invoicing/LineWindow.h"

// The part lines of one invoice.
class TInvItem : public LineWindow
{
    Q_OBJECT

public:
    explicit TInvItem(TInvoice* invoice, QWidget* parent = nullptr);

    // Fills the line from the catalogue part with the name in "Part Name".
    void fillFromCatalogue();

protected:
    QStringList existsStatement(const Values& v) const override;
    QStringList updateStatement(const Values& v) const override;
    QStringList insertStatement(const Values& v) const override;
    QStringList deleteStatement(const Values& v) const override;
    void giveBack(TInvoice* invoice) override;
};
