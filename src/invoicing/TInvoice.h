#pragma once

#include "invoicing/DocumentWindow.h"

// The repair invoice.
class TInvoice : public DocumentWindow
{
    Q_OBJECT

public:
    explicit TInvoice(Links links, QWidget* parent = nullptr);

    static DocumentDescription invoiceDescription();

protected:
    QWidget* createPartLines(std::function<void()> picker) override;
    QWidget* createLaborLines(std::function<void()> picker) override;
    QString layoutFile(bool taxed) const override;
};
