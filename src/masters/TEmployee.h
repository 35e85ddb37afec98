#pragma once

#include "ui/common/RecordWindow.h"

// The shop's staff: personal and contact data and the dates of employment.
class TEmployee : public RecordWindow
{
    Q_OBJECT

public:
    explicit TEmployee(QWidget* parent = nullptr);
};
