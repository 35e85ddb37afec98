#pragma once

#include "ui/common/FormBoxes.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <utility>

struct PaymentTables;
class FocusChain;
class Query;
class QLabel;
class QPushButton;
class QVBoxLayout;

// What makes one payment form (money received against an invoice, money paid against a bill)
// different from the other.
struct PaymentDescription
{
    QString title; // caption and heading: "Receivable"
    QString table; // the payments: "Receivable"
    // The boxes, in the order the new payment's columns are written and the Enter order; the
    // document's box first.
    QList<FormBox> boxes;

    // The document paid against: the payment column naming it, whether its numbers are whole
    // numbers (written bare) or texts, its table and key, the columns the figures show.
    QString documentColumn;
    bool numberedDocuments = true;
    QString documentTable;
    QString documentKey;
    QString partyColumn;  // shown as "Customer Name:"
    QString amountColumn; // shown as "Amount$:" and proposed as the payment
    QString amountBox;    // the payment's amount column, summed as "Paid"
    QString payDateBox;
    // Boxes filled from the document's row when it is found (box column, document column).
    QList<std::pair<QString, QString>> fromDocument;
    // A document text that names no document empties the boxes (all but the document's and
    // those kept) and resets the figures; otherwise the form keeps what it showed.
    bool clearWhenMissing = true;
    QStringList keptWhenMissing = {};

    // The payment's reference. When referenceLoads, typing a reference that already has a
    // payment on the document loads that payment (the boxes of loadedByReference) and the note
    // beside it says existingNote; Save then changes that payment and no other. An empty
    // reference loads nothing. Otherwise every Save adds a payment.
    QString referenceColumn;
    bool referenceLoads = true;
    QStringList loadedByReference = {};
    QString existingNote = {};
    // Boxes New leaves alone, and whether New also clears the document's party and amount
    // figures (Save always does).
    QStringList newKeeps = {};
    bool newClearsDocumentFigures = false;
    // Whether answering No to the Save question also clears the form.
    bool clearsAfterNo = false;
    QString closeName = QStringLiteral("Button4");
};

// A payment form: one payment against one document, with the document's party, amount, the
// sum already paid and the balance as figures, New and Save, and the finder, history and list
// buttons of the concrete form.
class PaymentWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PaymentWindow(PaymentDescription description, QWidget* parent = nullptr);

    const PaymentDescription& description() const { return m_description; }
    FormBoxes* boxes() const { return m_boxes; }
    QString text(const QString& column) const;
    void setText(const QString& column, const QString& text);

    // Puts a document's number into its box, as typing it would: the document is looked up.
    void setDocument(const QString& document);
    // Shows a document's party and amount in the figures.
    void showDocumentFigures(const QString& party, const QString& amount);

    void newPayment();
    void save();
    void lookUpDocument();
    void lookUpReference();

protected:
    // Opens the window that lists the documents to pick from.
    virtual void openFinder() = 0;
    // A command button of the concrete form, above Close, run by key as well.
    QPushButton* addCommand(const QString& caption, const QString& name, int key,
                            std::function<void()> command);

    void showEvent(QShowEvent* event) override;

private:
    void buildForm();
    void emptyForm(const QStringList& keep);
    void resetFigures();
    // The document text as the statement's literal, or nothing when it cannot name one (a
    // number box holding "12a" while the user types).
    std::optional<QVariant> documentValue() const;
    // The sum paid on the document, leaving out the payment with key except.
    // Where the payments are kept, for the store.
    PaymentTables tables() const;
    QString sumPaid(const QVariant& document, qint64 except = 0);
    // Whether a payment above what is still owed is what the user wants (asked only then).
    bool overpaymentAccepted();
    // Whether the document has a payment with the reference in its box; the look-up query
    // then holds it.
    bool findPayment(const QVariant& document);

    PaymentDescription m_description;
    Query* m_lookup;
    Query* m_writes;
    FormBoxes* m_boxes;
    FocusChain* m_chain = nullptr;
    QVBoxLayout* m_commands = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_party = nullptr;
    QLabel* m_amount = nullptr;
    QLabel* m_paid = nullptr;
    QLabel* m_balance = nullptr;
    bool m_shown = false;
    // The stored payment the reference loaded into the boxes; 0 for a new one.
    qint64 m_paymentKey = 0;
};
