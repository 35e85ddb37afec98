#pragma once

#include "ui/documents/DocumentWindow.h"

// The repair estimate: the invoice's twin, quoting a job before it is done.
class TEstimate : public DocumentWindow
{
    Q_OBJECT

public:
    explicit TEstimate(Links links, QWidget* parent = nullptr);

    static DocumentDescription estimateDescription();

protected:
    QWidget* createPartLines(LineOwnerRef owner) override;
    QWidget* createLaborLines(LineOwnerRef owner) override;
};
