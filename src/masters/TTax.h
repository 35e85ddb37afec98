#pragma once

#include "ui/common/RecordWindow.h"

// The sales-tax rates: a year, its first and last month and the rate for that period.
class TTax : public RecordWindow
{
    Q_OBJECT

public:
    explicit TTax(QWidget* parent = nullptr);

protected:
    // A rate is a fraction of 1 ("0.0825" for 8.25 %), never negative; the months are months.
    SqlRow rowToSave() const override;
    SqlRow::EmptyNumber whenEmpty(const QString& column) const override;
};
