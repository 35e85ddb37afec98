#pragma once

#include "data/DatabaseTarget.h"

#include <QString>

// The benchmarks' shop on a PostgreSQL server, when TAVLIN_BENCH_SERVER names one: a
// postgresql:// address (through QPSQL) or odbc:NAME (the ODBC data source NAME, through QODBC).
// The generated file is copied onto the server once (again only when the server holds another
// file's copy); without the variable the file itself is the target.
DatabaseTarget benchTarget(const QString& path);
// Which engine the benchmarks run on, for their report.
QString benchEngine();
