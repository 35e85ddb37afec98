#include "payables/TPayable.h"

#include "payables/PayableLists.h"

#include <QPushButton>

PaymentDescription TPayable::paymentDescription()
{
    PaymentDescription d;
    d.title = QStringLiteral("Payable");
    d.table = QStringLiteral("Payable");
    d.boxes = {
        {"BillNo_Payable", "Ref", FormBox::Edit, {}, "Edit1"},
        {"Name_Payable", "Vendor", FormBox::List, ListSource{"Company", "Name_Company"},
         "ComboBox1"},
        {"ViaPayment_Payable", "Via Payment", FormBox::List, ListSource{"Bank", "Name_Bank"},
         "ComboBox2"},
        {"PayDate_Payable", "Pay Date", FormBox::Date, {}, "Edit2", {}, "DateTimePicker1"},
        {"Ref_Payable", "Ref / Check", FormBox::Edit, {}, "Edit3"},
        {"Amount_Payable", "Amount", FormBox::Edit, {}, "Edit4"},
        {"Chart_Payable", "Chart", FormBox::List, ListSource{"Bill", "Chart_Bill"}, "ComboBox3"},
        {"SubChart_Payable", "Sub Chart", FormBox::List, ListSource{"Bill", "SubChart_Bill"},
         "ComboBox4"},
        {"Remark_Payable", "Remark", FormBox::Memo, {}, "Memo1"},
    };
    // Bills are numbered by text ("01008" is not "1008").
    d.documentColumn = QStringLiteral("BillNo_Payable");
    d.numberedDocuments = false;
    d.documentTable = QStringLiteral("Bill");
    d.documentKey = QStringLiteral("Ref_Bill");
    d.partyColumn = QStringLiteral("Vendor_Bill");
    d.amountColumn = QStringLiteral("Amount_Bill");
    d.amountBox = QStringLiteral("Amount_Payable");
    d.payDateBox = QStringLiteral("PayDate_Payable");
    d.fromDocument = {{"Name_Payable", "Vendor_Bill"},
                      {"Chart_Payable", "Chart_Bill"},
                      {"SubChart_Payable", "SubChart_Bill"}};
    // A reference that names no bill leaves the form as it was.
    d.clearWhenMissing = false;
    // Every Save adds a payment.
    d.referenceColumn = QStringLiteral("Ref_Payable");
    d.referenceLoads = false;
    d.newKeeps = {"Chart_Payable", "SubChart_Payable"};
    d.newClearsDocumentFigures = true;
    d.clearsAfterNo = true;
    d.closeName = QStringLiteral("Button6");
    return d;
}

TPayable::TPayable(Links links, QWidget* parent)
    : PaymentWindow(paymentDescription(), parent)
    , m_links(std::move(links))
{
    setText(QStringLiteral("Chart_Payable"), QStringLiteral("Bus Expence"));
    QPushButton* list = addCommand(QStringLiteral("List ( F5 )"), QStringLiteral("Button5"),
                                   m_links.openChild ? Qt::Key_F5 : 0, [this] {
                                       if (m_links.openChild)
                                           m_links.openChild(new TPayableList(m_links.preview));
                                   });
    list->setToolTip(QStringLiteral("Every payment made, with the total"));
    list->setEnabled(bool(m_links.openChild));
}

void TPayable::openFinder()
{
    if (m_links.openChild)
        m_links.openChild(new TFindPayable(this));
}
