#pragma once

#include <memory>

class TEstimateLaborFind;
class TEstimatePartFind;
class TInvLaborFind;
class TInvPartFind;
class TLaborFind;
class TLaborInvoiceHistory;
class TMainForm;
class TPartInvoiceHistory;
class TPartOrderHistory;

// The windows that live for the whole run: created hidden at start-up, in this order, and
// only shown and hidden afterwards.
struct LongLivedWindows
{
    LongLivedWindows();
    ~LongLivedWindows();

    std::unique_ptr<TInvLaborFind> invLaborFind;
    std::unique_ptr<TInvPartFind> invPartFind;
    std::unique_ptr<TLaborFind> laborFind;
    std::unique_ptr<TPartOrderHistory> partOrderHistory;
    std::unique_ptr<TPartInvoiceHistory> partInvoiceHistory;
    std::unique_ptr<TEstimateLaborFind> estimateLaborFind;
    std::unique_ptr<TEstimatePartFind> estimatePartFind;
    std::unique_ptr<TLaborInvoiceHistory> laborInvoiceHistory;
};

// Connects the task buttons of the main window to the windows they open.
void registerTasks(TMainForm& mainForm, LongLivedWindows& windows);
