#include "masters/TPart.h"

#include "data/Currency.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "stores/CatalogueStore.h"
#include "ui/common/Guard.h"
#include "ui/common/ListBox.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
RecordDescription partDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Parts");
    d.table = QStringLiteral("Part");
    d.listStatement = SqlSelect::all(
        QStringLiteral("Part"),
        QStringLiteral(
            "ID_Material,Type_Material,Number_Material,Description_Material,Mfg_Material, "
            "Style_Material,Style_Type_Material,Color_Material,Size_Material,Unit_Material,"
            "Price_Material,Remark_Material"));
    d.boxes = {
        {"ID_Material", "ID Part"},
        {"Type_Material", "Item", RecordBox::List, ListSource{"Part", "Type_Material"}},
        {"Number_Material", "Name"},
        {"Description_Material", "Description"},
        {"Mfg_Material", "Mfg. ", RecordBox::List, ListSource{"Part", "Mfg_Material"}},
        {"Style_Material", "Type"},
        {"Style_Type_Material", "Style Type", RecordBox::List,
         ListSource{"Part", "Style_Type_Material"}},
        {"Color_Material", "Part No"},
        {"Size_Material", "Serial No"},
        {"Unit_Material", "Unit", RecordBox::List, ListSource{"Part", "Unit_Material"}},
        {"Price_Material", "Price $"},
        {"Remark_Material", "Remark"},
    };
    d.enterWrapsTo = QStringLiteral("Type_Material");
    d.titles = {"ID #",       "Material Type", "Material Name", "Description", "Mfg",     "Style",
                "Style Type", "Part No",       "Serial No",     "Unit",        "Price $", "Remark"};
    QStringList refreshTitles = d.titles;
    refreshTitles[1] = QStringLiteral("Type Part");
    refreshTitles[2] = QStringLiteral("Part Name");
    d.refreshTitles = refreshTitles;
    d.insertedMessage = QStringLiteral("Data Recorded!");
    d.afterSave = RecordDescription::AfterSave::FirstRowCopied;
    d.cancel = RecordDescription::Cancel::Refresh;
    d.refreshCopiesFirstRow = true;
    d.gridKeys = {Qt::Key_F2, Qt::Key_F3, Qt::Key_F5, Qt::Key_F8};
    d.newDefaults = {{"Price_Material", "0.00"}};
    d.cancelCaption = QStringLiteral("Cancel ( Esc)");
    // Until a title is clicked the search box looks for a name.
    d.searchColumn = QStringLiteral("Number_Material");
    // A shop moving from another program brings its parts in a spreadsheet, known by part
    // number.
    d.import =
        RecordDescription::Import{QStringLiteral("Color_Material"), QStringLiteral("ID_Material"),
                                  QStringLiteral("part"), QStringLiteral("parts")};
    return d;
}
} // namespace

TPart::TPart(Links links, QWidget* parent)
    : RecordWindow(partDescription(), parent)
    , m_links(std::move(links))
{
    setObjectName(QStringLiteral("Part"));

    m_total = addFigure(QStringLiteral("Total Part"), QStringLiteral("Label14"), QString());
    m_check = new QLabel(this);
    m_check->setObjectName(QStringLiteral("Label16"));
    m_check->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    figuresLayout()->addWidget(m_check);
    figuresLayout()->addSpacing(8);
    m_sale = addFigure(QStringLiteral("Sale"), QStringLiteral("Label17"), QStringLiteral("0"));
    m_buy = addFigure(QStringLiteral("Buy"), QStringLiteral("Label19"), QStringLiteral("0"));
    m_inventory =
        addFigure(QStringLiteral("Inventory"), QStringLiteral("Label21"), QStringLiteral("0"));
    m_stock = addFigure(QStringLiteral("Stock $"), QStringLiteral("Label23"), QStringLiteral("0"));
    figuresLayout()->addStretch(1);

    QPushButton* orders = addButton(QStringLiteral("Order History"), "OrderHistoryButton");
    QPushButton* invoices = addButton(QStringLiteral("Invoice History"), "InvoiceHistoryButton");
    orders->setEnabled(bool(m_links.orderHistory));
    invoices->setEnabled(bool(m_links.invoiceHistory));
    connect(orders, &QPushButton::clicked, this,
            [this] { guard([this] { m_links.orderHistory(text("Color_Material")); }); });
    connect(invoices, &QPushButton::clicked, this,
            [this] { guard([this] { m_links.invoiceHistory(text("Color_Material")); }); });

    // Typing an ID moves the list to the first part whose ID starts with it.
    auto* id = qobject_cast<QLineEdit*>(box("ID_Material"));
    connect(id, &QLineEdit::textEdited, this, [this](const QString& typed) {
        if (!typed.isEmpty())
            guard([&] { listQuery()->locate(QStringLiteral("ID_Material"), typed); });
    });
    box("Color_Material")->installEventFilter(this);
    m_q1 = new Query(QStringLiteral("PartNumber"), DM->admin1(), this);
    // The part-number check finds the part in the list by its key at once.
    listQuery()->setKeyColumn(QStringLiteral("ID_Material"));
}

void TPart::showList()
{
    for (const char* column : {"Mfg_Material", "Type_Material", "Unit_Material"})
        qobject_cast<ListBox*>(box(column))->refill();
    RecordWindow::showList();
    updateTotal();
}

void TPart::save()
{
    RecordWindow::save();
    updateTotal();
}

void TPart::remove()
{
    RecordWindow::remove();
    updateTotal();
}

void TPart::imported()
{
    updateTotal();
}

void TPart::updateTotal()
{
    m_total->setText(QString::number(listQuery()->recordCount()));
}

void TPart::computeFigures()
{
    const QString partNo = text("Color_Material");
    const CatalogueStore store;
    auto quantity = [](const Field& sum) {
        return sum.isNull() ? QStringLiteral("0") : sum.asText();
    };
    const QString sale = quantity(store.partSold(partNo));
    m_sale->setText(sale);
    const QString buy = quantity(store.partBought(partNo));
    m_buy->setText(buy);

    // The count of parts in stock is a whole number; a fractional quantity on some line
    // cannot be counted and leaves the last figures standing.
    auto whole = [](const QString& text) {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(text));
        return value;
    };
    const qint64 inventory = whole(buy) - whole(sale);
    const Currency price = listQuery()->isEmpty()
                               ? Currency()
                               : listQuery()->field(QStringLiteral("Price_Material")).asCurrency();
    m_inventory->setText(QString::number(inventory));
    m_stock->setText((price * double(inventory)).toHashFormat());
}

bool TPart::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == box("Color_Material") && event->type() == QEvent::FocusOut) {
        // Only a move to another control of the form counts as leaving the box, not a
        // message box or a drop-down list taking the focus for a moment.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guard([this] { checkPartNumber(); });
    }
    return RecordWindow::eventFilter(watched, event);
}

void TPart::checkPartNumber()
{
    const QString partNo = text("Color_Material");
    CatalogueStore().partsNumbered(*m_q1, partNo);
    if (m_q1->isEmpty()) {
        m_check->setText(QStringLiteral("Not Match"));
        return;
    }
    // The part with that number is shown, and the list moves to it by its key: the list keeps
    // its order, and the check costs the same with two hundred thousand parts as with ten.
    boxes()->copyRow(m_q1);
    moveToKey(m_q1->field(QStringLiteral("ID_Material")).asText());
    m_q1->close();
    m_check->setText(QStringLiteral("Other Match"));
}

SqlRow::EmptyNumber TPart::whenEmpty(const QString& column) const
{
    // A part without a price is sold for nothing until one is typed.
    return column == QLatin1String("Price_Material") ? SqlRow::EmptyNumber::Zero
                                                     : RecordWindow::whenEmpty(column);
}
