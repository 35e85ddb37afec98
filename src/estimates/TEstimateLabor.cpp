#include "estimates/TEstimateLabor.h"

#include "ui/documents/PartLines.h"

LineDescription TEstimateLabor::lineDescription()
{
    LineDescription d =
        LaborLines::salesLines(QStringLiteral("EstimateLabor"), QStringLiteral("Estimate"));
    d.caption = QStringLiteral("EstimateLabor");
    d.heading = QStringLiteral("Estimate Labor");
    d.maximized = false;
    d.fill = LaborLines::catalogueFill();
    d.keys = false;
    return d;
}

TEstimateLabor::TEstimateLabor(LineOwnerRef estimate, QWidget* parent)
    : LineWindow(lineDescription(), estimate, parent)
{}
