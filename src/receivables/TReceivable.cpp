#include "receivables/TReceivable.h"

#include "receivables/PaymentHistories.h"

#include <QComboBox>
#include <QPushButton>

PaymentDescription TReceivable::paymentDescription(const QString& documentTable)
{
    PaymentDescription d;
    d.title = QStringLiteral("Receivable");
    // Payments taken on estimates are kept apart from the invoices' payments: the same number
    // can belong to an invoice and to an estimate.
    d.table = documentTable == QLatin1String("Estimate") ? QStringLiteral("EstimateReceivable")
                                                         : QStringLiteral("Receivable");
    d.boxes = {
        {"InvoiceNo_Receivable", "Invoice", FormBox::Edit, {}, "Edit1"},
        {"Name_Receivable", "Name", FormBox::List, ListSource{"Customer", "Name_Customer"},
         "ComboBox1"},
        {"ViaPayment_Receivable", "Payment Method", FormBox::List,
         ListSource{"Receivable", "ViaPayment_Receivable"}, "ComboBox2"},
        {"DepositTo_Receivable", "Deposit To", FormBox::List, ListSource{"Bank", "Name_Bank"},
         "ComboBox3"},
        {"PayDate_Receivable", "Pay Date", FormBox::Date, {}, "Edit2", {}, "DateTimePicker1"},
        {"Ref_Receivable", "Ref / Check", FormBox::Edit, {}, "Edit3"},
        {"Amount_Receivable", "Amount", FormBox::Edit, {}, "Edit4"},
        {"Remark_Receivable", "Remark", FormBox::Memo, {}, "Memo1"},
    };
    d.documentColumn = QStringLiteral("InvoiceNo_Receivable");
    d.numberedDocuments = true;
    d.documentTable = documentTable;
    d.documentKey = QStringLiteral("InvoiceNo_Inv");
    d.partyColumn = QStringLiteral("CustomerName_Inv");
    d.amountColumn = QStringLiteral("Amount_Inv");
    d.amountBox = QStringLiteral("Amount_Receivable");
    d.payDateBox = QStringLiteral("PayDate_Receivable");
    d.fromDocument = {{"Name_Receivable", "CustomerName_Inv"}};
    d.clearWhenMissing = true;
    d.keptWhenMissing = {"DepositTo_Receivable"};
    d.referenceColumn = QStringLiteral("Ref_Receivable");
    d.referenceLoads = true;
    // The account the money went to is not loaded with the payment.
    d.loadedByReference = {"Amount_Receivable", "PayDate_Receivable", "Name_Receivable",
                           "ViaPayment_Receivable", "Remark_Receivable"};
    d.existingNote = QStringLiteral("It has Receivable");
    d.newKeeps = {"DepositTo_Receivable"};
    d.clearsAfterNo = false;
    d.closeName = QStringLiteral("Button4");
    return d;
}

TReceivable::TReceivable(Links links, const QString& documentTable, QWidget* parent)
    : PaymentWindow(paymentDescription(documentTable), parent)
    , m_links(std::move(links))
{
    // The usual methods until the shop has payments of its own to list.
    if (auto* methods = qobject_cast<QComboBox*>(boxes()->box("ViaPayment_Receivable"))) {
        methods->addItems({"Check", "Cash", "C.C.", "Gift Card"});
        setText(QStringLiteral("ViaPayment_Receivable"), QStringLiteral("Check"));
    }
    QPushButton* history =
        addCommand(QStringLiteral("History ( F5 )"), QStringLiteral("Button5"),
                   m_links.openChild ? Qt::Key_F5 : 0, [this] { openHistory(); });
    history->setToolTip(QStringLiteral("The payments of the invoice in the Invoice box"));
    QPushButton* list =
        addCommand(QStringLiteral("List"), QStringLiteral("List"), 0, [this] { openList(); });
    list->setToolTip(QStringLiteral("Every payment received, with the total"));
    for (QPushButton* button : {history, list})
        button->setEnabled(bool(m_links.openChild));
}

void TReceivable::openFinder()
{
    if (!m_links.openChild)
        return;
    m_links.openChild(new TReceivableFind(this));
}

void TReceivable::openHistory()
{
    if (!m_links.openChild || text(QStringLiteral("InvoiceNo_Receivable")).trimmed().isEmpty())
        return;
    auto* window = new TReceivableHistory(description().table);
    window->readFrom(this);
    m_links.openChild(window);
}

void TReceivable::openList()
{
    if (m_links.openChild)
        m_links.openChild(new TReceivableList(m_links.preview));
}
