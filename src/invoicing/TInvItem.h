#pragma once

#include "invoicing/LineWindow.h"

// The part lines of one invoice.
class TInvItem : public LineWindow
{
    Q_OBJECT

public:
    TInvItem(DocumentWindow* invoice, std::function<void()> showPicker, QWidget* parent = nullptr);

    // Fills the line from the catalogue part with the name in "Part Name".
    void fillFromCatalogue();
    // The highest and the last price the customer paid for the part ("Max:", "Last:").
    void setPriceHistory(const QString& highest, const QString& last);

protected:
    QStringList existsStatement(const Values& v) const override;
    QStringList updateStatement(const Values& v) const override;
    QStringList insertStatement(const Values& v) const override;
    QStringList deleteStatement(const Values& v) const override;
    void giveBack(DocumentWindow* invoice) override;
};
