#include "data/Schema.h"

#include "data/SqlDialect.h"

#include <QHash>

namespace {

// Each table as "Column:kind" words in column order; kinds: t text, T text compared exactly,
// i whole number, m money, r number with decimals, d date, b yes/no.
struct TableText
{
    const char* name;
    const char* columns;
};

const TableText tableTexts[] = {
    // Passwords are kept as hashes (Password::hash). The owner manages the users; a user who
    // gave a wrong password again and again waits until Wait_Pass (UTC, ISO) before the next
    // try; FirstPassword_Pass marks the password a new shop starts with.
    {"Pass", "UserName_Pass:t Password_Pass:T Owner_Pass:b Disabled_Pass:b Failed_Pass:i "
             "Wait_Pass:t FirstPassword_Pass:b"},
    // Settings of the whole shop, one row each: the archive code's hash.
    {"Setting", "Name_Setting:t Value_Setting:T"},
    {"Part", "ID_Material:i Type_Material:t Number_Material:t Description_Material:t "
             "Mfg_Material:t Style_Material:t Style_Type_Material:t Color_Material:t "
             "Size_Material:t Unit_Material:t Price_Material:m Remark_Material:t"},
    {"Company", "ID_Company:i Name_Company:t Type_Company:t Tell_Company:t Address_Company:t "
                "City_Company:t State_Company:t Zip_Company:t Contact1_Company:t "
                "Contact2_Company:t Email_Company:t Web_Company:t Fax_Company:t"},
    {"Customer", "ID_Customer:i Name_Customer:t Type_Customer:t Tell_Customer:t "
                 "Address_Customer:t City_Customer:t State_Customer:t Zip_Customer:t "
                 "Email_Customer:t Web_Customer:t Tel_Customer:t Tel1_Customer:t"},
    {"Employee", "ID_Employee:i Name_Employee:t DOB_Employee:d Email_Employee:t SSN_Employee:t "
                 "Position_Employee:t Emergency_Employee:t Cell_Employee:t Address_Employee:t "
                 "City_Employee:t State_Employee:t Zip_Employee:t Start_Employee:d "
                 "End_Employee:d"},
    {"Labor", "ID_Labor:i Description_Labor:t PartNo_Labor:t Rate_Labor:m Remark_Labor:t"},
    {"Tax", "Id_T:i Year_T:i A_T:i E_T:i Tax_T:r"},
    {"Reg", "Id_R:i Name_R:t Address_R:t Catagory_R:t City_R:t State_R:t Zip_R:t Apt_R:t "
            "Tel_R:t Fax_R:t Cell_R:t Web_R:t Email_R:t"},
    {"Invoice", "InvoiceNo_Inv:i CustomerName_Inv:t RepairPerson_Inv:t InvoiceDate_Inv:d "
                "PO_Inv:t Amount_Inv:m LicenseNo_Inv:t EntryDate_Inv:d Remark_Inv:t Paid_Inv:b "
                "JobLocation_Inv:t DueDate_Inv:d Vin_Inv:t TruckNo_Inv:t Mileage_Inv:t "
                "Make_Inv:t Model_Inv:t Year_Inv:t Plate_Inv:t Tax_Inv:t"},
    {"InvItem", "Name_Item:t Mfg_Item:t Qty_Item:r Style_Item:t Color_Item:t Rate_Item:m "
                "Amount_Item:m Inv_Item:i"},
    {"InvLabor", "Description_Labor:t PartNo_Labor:t Qty_Labor:r Rate_Labor:m Amount_Labor:m "
                 "Remark_Labor:t Inv_Labor:i"},
    {"InvoiceCash", "InvoiceNo_Inv:i Paid_Inv:b CustomerName_Inv:t RepairPerson_Inv:t "
                    "InvoiceDate_Inv:d PO_Inv:t Amount_Inv:m JobLocation_Inv:t DueDate_Inv:d "
                    "Vin_Inv:t TruckNo_Inv:t Mileage_Inv:t Make_Inv:t Model_Inv:t Year_Inv:t "
                    "Plate_Inv:t Remark_Inv:t"},
    {"InvItemCash", "Inv_Item:i Name_Item:t Mfg_Item:t Qty_Item:r Style_Item:t Color_Item:t "
                    "Rate_Item:m Amount_Item:m"},
    {"InvLaborCash", "Inv_Labor:i Description_Labor:t PartNo_Labor:t Qty_Labor:r Rate_Labor:m "
                     "Amount_Labor:m Remark_Labor:t"},
    // Archived estimates, apart from archived invoices: each kind keeps its own numbers.
    {"EstimateCash", "InvoiceNo_Inv:i Paid_Inv:b CustomerName_Inv:t RepairPerson_Inv:t "
                     "InvoiceDate_Inv:d PO_Inv:t Amount_Inv:m JobLocation_Inv:t DueDate_Inv:d "
                     "Vin_Inv:t TruckNo_Inv:t Mileage_Inv:t Make_Inv:t Model_Inv:t Year_Inv:t "
                     "Plate_Inv:t Remark_Inv:t"},
    {"EstimateItemCash", "Inv_Item:i Name_Item:t Mfg_Item:t Qty_Item:r Style_Item:t "
                         "Color_Item:t Rate_Item:m Amount_Item:m"},
    {"EstimateLaborCash", "Inv_Labor:i Description_Labor:t PartNo_Labor:t Qty_Labor:r "
                          "Rate_Labor:m Amount_Labor:m Remark_Labor:t"},
    {"Receivable", "InvoiceNo_Receivable:i Name_Receivable:t ViaPayment_Receivable:t "
                   "PayDate_Receivable:d Ref_Receivable:t DepositTo_Receivable:t "
                   "Amount_Receivable:m Chart_Receivable:t SubChart_Receivable:t "
                   "Remark_Receivable:t"},
    // Payments taken on estimates (a deposit before the work), apart from the invoices'
    // payments: an estimate and an invoice may carry the same number.
    {"EstimateReceivable", "InvoiceNo_Receivable:i Name_Receivable:t ViaPayment_Receivable:t "
                           "PayDate_Receivable:d Ref_Receivable:t DepositTo_Receivable:t "
                           "Amount_Receivable:m Chart_Receivable:t SubChart_Receivable:t "
                           "Remark_Receivable:t"},
    // An archived document's payments go with it, so that the figures of what is still open
    // read as they did before.
    {"ReceivableCash", "InvoiceNo_Receivable:i Name_Receivable:t ViaPayment_Receivable:t "
                       "PayDate_Receivable:d Ref_Receivable:t DepositTo_Receivable:t "
                       "Amount_Receivable:m Chart_Receivable:t SubChart_Receivable:t "
                       "Remark_Receivable:t"},
    {"EstimateReceivableCash", "InvoiceNo_Receivable:i Name_Receivable:t ViaPayment_Receivable:t "
                               "PayDate_Receivable:d Ref_Receivable:t DepositTo_Receivable:t "
                               "Amount_Receivable:m Chart_Receivable:t SubChart_Receivable:t "
                               "Remark_Receivable:t"},
    // Invoice_Est: the number of the invoice the estimate was made into.
    {"Estimate", "InvoiceNo_Inv:i CustomerName_Inv:t RepairPerson_Inv:t InvoiceDate_Inv:d "
                 "PO_Inv:t Amount_Inv:m LicenseNo_Inv:t EntryDate_Inv:d Remark_Inv:t Paid_Inv:b "
                 "JobLocation_Inv:t DueDate_Inv:d Vin_Inv:t TruckNo_Inv:t Mileage_Inv:t "
                 "Make_Inv:t Model_Inv:t Year_Inv:t Plate_Inv:t Tax_Inv:t Invoice_Est:i"},
    {"EstimateItem", "Name_Item:t Mfg_Item:t Qty_Item:r Style_Item:t Color_Item:t Rate_Item:m "
                     "Amount_Item:m Inv_Item:i"},
    {"EstimateLabor", "Description_Labor:t PartNo_Labor:t Qty_Labor:r Rate_Labor:m "
                      "Amount_Labor:m Remark_Labor:t Inv_Labor:i"},
    {"Orders", "Po_Order:i SideMark_Order:t OrderBy_Order:t OrderDate_Order:d Vendor_Order:t "
               "ShipFrom_Order:t ShipTo_Order:t ShipDate_Order:d ForInvoice_Order:t"},
    {"Items", "Name_Item:t Mfg_Item:t Qty_Item:r Style_Item:t Color_Item:t Rate_Item:m "
              "Amount_Item:m Po_Item:i"},
    {"Bill", "Ref_Bill:t Vendor_Bill:t BillDate_Bill:d DueDate_Bill:d Amount_Bill:m "
             "Address_Bill:t Chart_Bill:t SubChart_Bill:t Remark_Bill:t"},
    {"BillItem", "Name_Bill:t Mfg_Bill:t Qty_Bill:r Style_Bill:t Color_Bill:t Rate_Bill:m "
                 "Amount_Bill:m Inv_Bill:t"},
    {"BillExpense", "Description_Expense:t PartNo_Expense:t Qty_Expense:r Rate_Expense:m "
                    "Amount_Expense:m Remark_Expense:t Bill_Expense:t"},
    {"Payable", "BillNo_Payable:t Name_Payable:t ViaPayment_Payable:t PayDate_Payable:d "
                "Ref_Payable:t Amount_Payable:m Chart_Payable:t SubChart_Payable:t "
                "Remark_Payable:t"},
    {"Deposit", "DepositTo_Dep:t Date_Dep:d From_Dep:t Acc_Dep:t SubAcc_Dep:t Chk_Dep:t "
                "Amount_Dep:m Remark_Dep:t"},
    {"Bank", "ID_Bank:i Name_Bank:t Type_Bank:t AccountNo_Bank:t Date_Bank:d Company_Bank:t"},
    {"TotalItem", "T_Inv_Item:i T_Amount_Item:m"},
    {"TotalLabor", "T_Inv_Labor:i T_Amount_labor:m"},
    {"TotalTax", "T_Inv_Tax:i T_Amount_Tax:m"},
    {"TotalReport", "InvNo:i Name:t Via:t DateT:d Amount:m"},
    {"OpenInvoice", "InvNo:i Name:t DateT:d PaidT:m Amount:m"},
    {"MainPartOrder", "ID_Order:i Part_Name_Order:t Company_Name_Order:t Requestor_Order:t "
                      "Qty_Order:r Price_Order:m Total_Price_Order:m Date_Order:d "
                      "Remark_Order:t Technician_Name_Order:t Technician_ID_Order:t "
                      "Time_Order:t Company_ID_Order:i Part_ID_Order:i"},
};

// Indexes as "Table(Col, Col)": the keys that New and Save look up, the names the documents
// are found by, the line tables' document numbers, and the dates the reports select on. A
// leading "!" makes the index unique: the number of a document or catalogue row that New gives
// out, so that two stations saving at once can never store one number twice.
const char* const indexTexts[] = {
    "!Pass(UserName_Pass)",
    "!Setting(Name_Setting)",
    "!Part(ID_Material)",
    "Part(Color_Material)",
    "Part(Number_Material)",
    // The drop-down lists of the Parts window read these columns' distinct values.
    "Part(Type_Material)",
    "Part(Mfg_Material)",
    "Part(Unit_Material)",
    "Part(Style_Type_Material)",
    "!Company(ID_Company)",
    "Company(Name_Company)",
    "!Customer(ID_Customer)",
    "Customer(Name_Customer)",
    "!Employee(ID_Employee)",
    "!Labor(ID_Labor)",
    "Labor(Description_Labor)",
    "!Tax(Id_T)",
    "Tax(Year_T, A_T, E_T)",
    "!Reg(Id_R)",
    "!Invoice(InvoiceNo_Inv)",
    "Invoice(CustomerName_Inv)",
    "Invoice(InvoiceDate_Inv)",
    "Invoice(Paid_Inv)",
    // A truck's documents by a whole truck number or plate, and its earlier invoices by VIN.
    "Invoice(Vin_Inv, InvoiceDate_Inv)",
    "Invoice(TruckNo_Inv)",
    "Invoice(Plate_Inv)",
    "InvItem(Inv_Item, Color_Item)",
    "InvItem(Color_Item)",
    "InvLabor(Inv_Labor, Description_Labor)",
    "InvLabor(Description_Labor)",
    "!InvoiceCash(InvoiceNo_Inv)",
    "InvoiceCash(Vin_Inv, InvoiceDate_Inv)",
    "InvoiceCash(TruckNo_Inv)",
    "InvoiceCash(Plate_Inv)",
    "InvItemCash(Inv_Item)",
    "InvLaborCash(Inv_Labor)",
    "!EstimateCash(InvoiceNo_Inv)",
    "EstimateCash(TruckNo_Inv)",
    "EstimateCash(Plate_Inv)",
    "EstimateItemCash(Inv_Item)",
    "EstimateLaborCash(Inv_Labor)",
    "Receivable(InvoiceNo_Receivable, Ref_Receivable)",
    "Receivable(Name_Receivable)",
    "Receivable(PayDate_Receivable)",
    "Receivable(ViaPayment_Receivable)",
    "EstimateReceivable(InvoiceNo_Receivable, Ref_Receivable)",
    "ReceivableCash(InvoiceNo_Receivable)",
    "EstimateReceivableCash(InvoiceNo_Receivable)",
    "!Estimate(InvoiceNo_Inv)",
    "Estimate(CustomerName_Inv)",
    "Estimate(Paid_Inv)",
    "Estimate(TruckNo_Inv)",
    "Estimate(Plate_Inv)",
    "EstimateItem(Inv_Item, Color_Item)",
    "EstimateLabor(Inv_Labor, Description_Labor)",
    "!Orders(Po_Order)",
    "Orders(OrderDate_Order)",
    "Items(Po_Item, Color_Item)",
    "Items(Color_Item)",
    "Bill(Ref_Bill, Vendor_Bill, BillDate_Bill)",
    "Bill(Vendor_Bill)",
    "BillItem(Inv_Bill, Name_Bill)",
    "BillExpense(Bill_Expense, Description_Expense)",
    "Payable(BillNo_Payable)",
    "Payable(PayDate_Payable)",
    "Deposit(DepositTo_Dep, Chk_Dep)",
    "Deposit(From_Dep, Date_Dep)",
    "!Bank(ID_Bank)",
};

ColumnKind kindFromLetter(QChar c)
{
    switch (c.toLatin1()) {
    case 'i':
        return ColumnKind::Integer;
    case 'm':
        return ColumnKind::Money;
    case 'r':
        return ColumnKind::Real;
    case 'd':
        return ColumnKind::Date;
    case 'b':
        return ColumnKind::Bool;
    default:
        return ColumnKind::Text;
    }
}

QList<Schema::Table> buildTables()
{
    QList<Schema::Table> tables;
    for (const auto& text : tableTexts) {
        Schema::Table table{QString::fromLatin1(text.name), {}};
        for (const QString& word :
             QString::fromLatin1(text.columns).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int colon = word.indexOf(QLatin1Char(':'));
            const QChar letter = word.at(colon + 1);
            table.columns.append(
                {word.left(colon), kindFromLetter(letter), letter == QLatin1Char('T')});
        }
        tables.append(table);
    }
    return tables;
}

} // namespace

namespace Schema {

const QList<Table>& tables()
{
    static const QList<Table> all = buildTables();
    return all;
}

const Table* table(const QString& name)
{
    for (const auto& t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

std::optional<ColumnKind> kindOf(const QString& column)
{
    static const QHash<QString, ColumnKind> kinds = [] {
        QHash<QString, ColumnKind> map;
        for (const auto& t : tables())
            for (const auto& c : t.columns)
                map.insert(c.name.toLower(), c.kind);
        return map;
    }();
    const auto it = kinds.constFind(column.toLower());
    if (it == kinds.constEnd())
        return std::nullopt;
    return *it;
}

QString createTableStatement(const Table& table)
{
    return createTableStatement(table, SqliteDialect());
}

QString createTableStatement(const Table& table, const SqlDialect& dialect)
{
    QStringList columns;
    for (const auto& c : table.columns)
        columns.append(dialect.identifier(c.name) + QLatin1Char(' ') +
                       dialect.columnType(c.kind, c.exactCase));
    columns.append(dialect.rowKeyDefinition());
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(dialect.identifier(table.name), columns.join(QStringLiteral(", ")));
}

QStringList createIndexStatements()
{
    return createIndexStatements(SqliteDialect());
}

QStringList createIndexStatements(const SqlDialect& dialect)
{
    return createIndexStatements(dialect, QString());
}

QStringList createIndexStatements(const SqlDialect& dialect, const QString& onlyTable)
{
    QStringList statements;
    for (const char* text : indexTexts) {
        QString spec = QString::fromLatin1(text);
        const bool unique = spec.startsWith(QLatin1Char('!'));
        if (unique)
            spec.remove(0, 1);
        const int open = spec.indexOf(QLatin1Char('('));
        const QString tableName = spec.left(open);
        if (!onlyTable.isEmpty() && tableName.compare(onlyTable, Qt::CaseInsensitive) != 0)
            continue;
        QStringList columns = spec.mid(open + 1, spec.size() - open - 2).split(QLatin1Char(','));
        for (QString& c : columns)
            c = c.trimmed();
        statements.append(
            QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                .arg(unique ? QStringLiteral("UNIQUE ") : QString(),
                     dialect.identifier(
                         QStringLiteral("ix_%1_%2").arg(tableName, columns.join(QLatin1Char('_')))),
                     dialect.identifier(tableName), dialect.indexColumns(columns, unique)));
    }
    return statements;
}

QList<QPair<QString, QString>> uniqueKeys()
{
    QList<QPair<QString, QString>> keys;
    for (const char* text : indexTexts) {
        const QString spec = QString::fromLatin1(text);
        if (!spec.startsWith(QLatin1Char('!')))
            continue;
        const int open = spec.indexOf(QLatin1Char('('));
        keys.append({spec.mid(1, open - 1), spec.mid(open + 1, spec.size() - open - 2)});
    }
    return keys;
}

QString guestPassword()
{
    return QStringLiteral("gt");
}

QString archiveCode()
{
    return QStringLiteral("Morvek");
}

QStringList seedStatements()
{
    return {
        QStringLiteral("INSERT INTO Reg (Id_R, Name_R, Address_R, Catagory_R, City_R, State_R, "
                       "Zip_R, Apt_R, Tel_R, Fax_R, Cell_R, Web_R, Email_R) VALUES (1, "
                       "'Tavlin Truck Repair', '1450 Industrial Parkway', 'Truck and Trailer "
                       "Repair', 'Joliet', 'IL', '60431', 'Bay 4', '(815) 555-0142', "
                       "'(815) 555-0143', '(815) 555-0199', 'www.tavlintruck.example', "
                       "'office@tavlintruck.example')"),
        // Guest, the first user and the owner, with the password every new shop starts with,
        // and the archive code, both kept as hashes. Their texts are known to every shop, so
        // their hashes are made once, here, rather than at each new shop's start.
        QStringLiteral("INSERT INTO Pass (UserName_Pass, Password_Pass, Owner_Pass, Disabled_Pass, "
                       "Failed_Pass, FirstPassword_Pass) VALUES ('Guest', "
                       "'$argon2id$v=19$m=65536,t=2,p=1$czB4EsXBHcZG3fJNE5fLhA$rhpKRbn0z4kK4Mq+"
                       "chbY1E7MSRTQRiv/ryby14QItZE', '1', '0', 0, '1')"),
        QStringLiteral(
            "INSERT INTO Setting (Name_Setting, Value_Setting) VALUES ('ArchiveCode', "
            "'$argon2id$v=19$m=1024,t=2,p=1$FEefPcH47JNJyLeaKpVORg$GYBYR0TyiozfkghU9dROUb9y"
            "WZ2LR+9Rs0QUJV+t7XA')"),
    };
}

} // namespace Schema
