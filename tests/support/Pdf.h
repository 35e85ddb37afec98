#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

// Reading an exported PDF back with the poppler tools, as a viewer would show it.

// The standard output of a program run to its end ("<program is missing…>" when it cannot
// start).
QString runTool(const QString& program, const QStringList& arguments);
// The paper of every page of a PDF in millimetres, as a viewer shows it (rotation applied).
QList<QSizeF> pdfPages(const QString& file);
