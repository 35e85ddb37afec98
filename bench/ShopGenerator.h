#pragma once

#include <QString>

// Writes a shop database of generated documents for benchmarks. Scale 1.0 is ten busy years:
// 75,000 invoices with 300,000 part lines, 150,000 labor lines and 90,000 payments; the
// catalogues (5,000 customers, 20,000 parts, 500 labor operations, 40 tax rows) and the
// 300 open invoices are the same at every scale, as in a shop that simply has fewer years
// behind it.
namespace ShopGenerator {

// Creates the file at path (through the program's own schema) unless it exists already.
void generate(const QString& path, double scale);

} // namespace ShopGenerator
