#pragma once

#include "ui/common/HistoryWindow.h"

#include <QPointer>

#include <functional>
#include <memory>

class PreparedReport;

// A truck's history: type any part of a VIN, a truck number or a plate and see every invoice
// and estimate of it, the archived ones too, newest first, an invoice that came within the
// comeback days of an earlier one of the same VIN marked "Comeback", and the selected
// document's lines below.
class TTruckHistory : public HistoryWindow
{
    Q_OBJECT

public:
    using Preview = std::function<void(const PreparedReport&)>;

    // comebackDays: how soon after an earlier invoice a return counts as a comeback.
    TTruckHistory(Preview preview, int comebackDays, QWidget* parent = nullptr);

    // The printout of the rows shown, with the text they were found by.
    static PreparedReport prepareReport(const Query* rows, const QString& search);

    // Wide enough for every column and the lines beneath, within a 1366 x 768 screen.
    QSize sizeHint() const override { return {1040, 600}; }

private:
    TTruckHistory(Preview preview, int comebackDays, std::shared_ptr<QPointer<HistoryWindow>> shown,
                  QWidget* parent);
};
