#pragma once

#include "ui/documents/LineWindow.h"
#include "ui/documents/PickerWindow.h"

class Currency;

// What every line that names a catalogue part shares, whatever document it belongs to
// (invoice, estimate, purchase order): its boxes, the fill from the catalogue when a whole
// part name is typed or picked, the part picker's list, and what a pick writes.
namespace PartLines {

// The seven boxes of a part line; the name box carries nameCaption ("Part Name").
QList<FormBox> boxes(const QString& nameCaption);
// New's texts: no quantity, no price.
QHash<QString, QString> newTexts();
CatalogueFill catalogueFill();
// The part picker's list of the catalogue, under caption.
PickerDescription picker(const QString& caption);
// The part lines of a customer's document (invoice, estimate) in table, the grid's last column
// titled lastTitle, with the parts total, the catalogue fill, Find and the keys. The window adds
// its caption, heading, queries and which events load a line.
LineDescription salesLines(const QString& table, const QString& lastTitle);
// The part of the picker's current row at rate, as its boxes take it.
QList<std::pair<QString, QString>> picked(const Query& row, const Currency& rate);
// The catalogue price of the picker's current row plus the shop's 20 % markup, the markup cut
// at the fourth decimal: what a customer's document charges for a part.
Currency sellingPrice(const Query& row);

} // namespace PartLines

// The same for lines that name a labor operation of the catalogue.
namespace LaborLines {

// The six boxes of a labor line, and New's texts.
QList<FormBox> boxes();
QHash<QString, QString> newTexts();
// The code, rate and remark of the operation whose description is typed or picked whole.
CatalogueFill catalogueFill();
// The labor lines of a customer's document in table, as salesLines, with the labor total and
// find.
LineDescription salesLines(const QString& table, const QString& lastTitle);
PickerDescription picker(const QString& caption);
// The operation of the picker's current row as the line's boxes take it: its code,
// description, rate and remark.
QList<std::pair<QString, QString>> picked(const Query& row);

} // namespace LaborLines
