#pragma once

#include "ui/documents/DocumentWindow.h"

// The repair invoice.
class TInvoice : public DocumentWindow
{
    Q_OBJECT

public:
    explicit TInvoice(Links links, QWidget* parent = nullptr);

    static DocumentDescription invoiceDescription();

protected:
    QWidget* createPartLines(LineOwnerRef owner) override;
    QWidget* createLaborLines(LineOwnerRef owner) override;
};
