#!/usr/bin/env python3
"""Writes the layouts of the report windows into layouts/ beside this script.

Run it after changing a layout here; the JSON files are what the program reads.
Every layout is a Letter page with 10 mm margins, 195.9 mm wide inside them.
"""
import json
import os

W = 195.9
LETTER = {"width": 215.9, "height": 279.4}
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "layouts")
SHOP = "Tavlin Truck Repair"


def text(x, y, w, h, t, size=9, bold=False, align="left", frame=False, fmt=None):
    o = {"type": "text", "rect": [round(x, 3), y, round(w, 3), h], "text": t, "fontSize": size}
    if bold:
        o["bold"] = True
    if align != "left":
        o["align"] = align
    if frame:
        o["frame"] = True
        o["valign"] = "center"
    if fmt:
        o["format"] = fmt
    return o


def line(y, x0=0, x1=W, width=0.4):
    return {"type": "line", "from": [x0, y], "to": [x1, y], "lineWidth": width}


def band(kind, height, objects, **extra):
    b = {"type": kind, "height": height}
    b.update(extra)
    b["objects"] = objects
    return b


def layout(title, data_sets, bands, parameters=None):
    out = {"title": title, "dataSets": data_sets}
    if parameters:
        out["parameters"] = parameters
    out["pages"] = [{"paper": LETTER, "margins": 10, "bands": bands}]
    return out


def field(ds, column):
    return '[%s."%s"]' % (ds, column)


def page_footer():
    return band("pageFooter", 6, [text(0, 1, W, 5, "[Page#]/[TotalPages#]", 8, align="right")])


# A list: the shop's name and the column heads on every page, a row per record, a footer.
# columns: (head, x, width, row text, align, format)
def listing(title, ds, columns, footer, heading_lines=()):
    header = [text(0, 0, W, 8, SHOP, 16, True, "center")]
    y = 10
    for words in heading_lines:
        header.append(text(0, y, W, 6, words, 11, align="center"))
        y += 7
    y += 2
    for head, x, w, _, align, _ in columns:
        header.append(text(x, y, w, 5, head, 9, True, align))
    header.append(line(y + 6))
    rows = [text(x, 0.5, w, 5, value, 9, align=align, fmt=fmt)
            for _, x, w, value, align, fmt in columns]
    foot = [line(0.5)] + [text(x, 1.5, w, 5, words, 10, True, "right", fmt="%2.2m")
                          for x, w, words in footer]
    return layout(title, [ds], [
        band("pageHeader", y + 8, header),
        band("masterData", 6, rows, name="MasterData1", dataSet=ds),
        band("footer", 8, foot),
        page_footer(),
    ])


def grouped(title, ds, group_column, group_lines, section, line_columns, group_total,
            summary_total, parameters=None):
    """Lines grouped by a document: its heading, its lines, its total; a total at the end."""
    header = [
        text(0, 0, 60, 5, "[Page#]/[TotalPages#]", 8),
        text(115, 0, 40, 5, "[Time]", 8, align="right"),
        text(157, 0, W - 157, 5, "[Date]", 8, align="right"),
        text(0, 6, W, 8, SHOP, 16, True, "center"),
        text(0, 15, W, 6, "[Title]" if parameters else title, 12, True, "center"),
        line(23),
    ]
    group = []
    y = 1.5
    for row in group_lines:
        for x, w, words, bold in row:
            group.append(text(x, y, w, 5, words, 9, bold))
        y += 6
    if section:
        group.append(text(0, y, 40, 5, section, 9, True))
        y += 6
    for head, x, w, _, align, _ in line_columns:
        group.append(text(x, y, w, 5, head, 9, True, align))
    group.append(line(y + 5.5, 4, W, 0.3))
    amount = line_columns[-1][3].strip("[]")
    total = "[SUM(%s,MasterData1)]" % amount
    rows = [text(x, 0.3, w, 5, value, 9, align=align, fmt=fmt)
            for _, x, w, value, align, fmt in line_columns]
    return layout(title, [ds], [
        band("pageHeader", 25, header),
        band("groupHeader", y + 7, group, column=group_column, reprintOnNewPage=True),
        band("masterData", 5.6, rows, name="MasterData1", dataSet=ds),
        band("groupFooter", 8, [
            line(0.5, 120, W, 0.3),
            text(118, 1.5, 40, 5, group_total, 9, True, "right"),
            text(160, 1.5, W - 160, 5, total, 9, True, "right", fmt="%2.2m"),
        ]),
        band("reportSummary", 10, [
            line(1, 0, W, 0.6),
            text(118, 3, 40, 6, summary_total, 11, True, "right"),
            text(160, 3, W - 160, 6, total, 11, True, "right", fmt="%2.2m"),
        ]),
    ], parameters)


def totals():
    cw = W / 4
    objects = [
        text(0, 0, W, 9, SHOP, 18, True, "center"),
        text(0, 11, W, 7, "[Title]", 14, True, "center"),
        text(0, 21, W, 6, "Report From        /      /                  to          /      /  ",
             11, align="center"),
        text(0, 34, W, 6, "[Section]", 12, True),
        line(41),
    ]
    heads = ["Total Amounts", "Total Parts", "Total Labors", "Total Taxs on Parts"]
    values = ['[<Parts."Expr1000">+<Tax."Expr1000">+<Labor."Expr1000">]', '[Parts."Expr1000"]',
              '[Labor."Expr1000"]', '[Tax."Expr1000"]']
    for i, (head, value) in enumerate(zip(heads, values)):
        objects.append(text(i * cw, 44, cw, 7, head, 10, True, "center", True))
        objects.append(text(i * cw, 51, cw, 8, value, 11, False, "center", True, "%2.2m"))
    objects += [
        text(0, 68, W, 6, "P.O. Total Report", 12, True),
        line(75),
        text(0, 78, cw, 7, "Total Amounts", 10, True, "center", True),
        text(0, 85, cw, 8, '[Purchases."Expr1000"]', 11, False, "center", True, "%2.2m"),
    ]
    return layout("Total Amounts Report", ["Labor", "Parts", "Tax", "Purchases"],
                  [band("pageHeader", 96, objects)],
                  {"Title": "Total Amounts Report", "Section": "Invoice Total Report"})



def write(name, data):
    with open(os.path.join(HERE, name), "w") as f:
        f.write(json.dumps(data, indent=1) + "\n")


# Aging: a row per customer or vendor with its balance in the buckets past the due date.
def aging():
    d = "frxD"
    cols = [("[Party]", 0, 55, field(d, "Party"), "left", None)]
    x = 57
    for head, column in [("Not yet due", "NotYetDue"), ("1-30", "Days30"), ("31-60", "Days60"),
                         ("61-90", "Days90"), ("Over 90", "Over90"), ("Total", "Total")]:
        cols.append((head, x, 22.5, field(d, column), "right", "%2.2m"))
        x += 23.15
    data = listing("Aging", d, cols, [], ["[Title]", "As of [AsOf]"])
    # The totals of every bucket under their columns.
    foot = [line(0.5), text(0, 1.5, 55, 5, "Total", 10, True)]
    for _, x, w, value, _, _ in cols[1:]:
        column = value.split('"')[1]
        foot.append(text(x, 1.5, w, 5, '[SUM(<frxD."%s">,MasterData1)]' % column, 9, True,
                         "right", fmt="%2.2m"))
    data["pages"][0]["bands"][2] = band("footer", 8, foot)
    data["parameters"] = {"Title": "Receivables Aging", "AsOf": "", "Party": "Customer"}
    return data


# A statement per customer, each on sheets of its own: the shop from its profile, the customer's
# address, the open invoices, what is owed in the aging buckets and the total due.
def statement():
    d = "frxD"
    reg = lambda column: field("Reg", column)
    shop = [text(0, 0, 120, 8, reg("Name_R"), 16, True),
            text(0, 9, 120, 4.5, reg("Address_R")),
            text(0, 13.5, 120, 4.5, reg("City_R") + ", " + reg("State_R") + " " + reg("Zip_R")),
            text(0, 18, 120, 4.5, "Tel: " + reg("Tel_R")),
            text(120, 0, W - 120, 8, "STATEMENT", 16, True, "right"),
            text(120, 9, W - 120, 5, "Statement Date: [AsOf]", 10, False, "right"),
            line(24.5)]
    cols = [("Invoice #", 0, 26, field(d, "InvoiceNo_Inv"), "left", None),
            ("Invoice Date", 28, 30, field(d, "InvoiceDate_Inv"), "left", None),
            ("Due Date", 60, 30, field(d, "DueDate_Inv"), "left", None),
            ("Amount", 92, 33, field(d, "Amount_Inv"), "right", "%2.2m"),
            ("Paid", 127, 33, field(d, "Paid"), "right", "%2.2m"),
            ("Balance", 162, W - 162, field(d, "Balance"), "right", "%2.2m")]
    customer = [text(0, 2, 12, 5, "To:", 10, True),
                text(14, 2, 110, 5, field(d, "CustomerName_Inv"), 11, True),
                text(14, 7, 110, 4.5, field(d, "Address_Customer")),
                text(14, 11.5, 110, 4.5, field(d, "City_Customer") + ", " + field(d, "State_Customer") + " " +
                     field(d, "Zip_Customer")),
                line(19.5, width=0.3)]
    customer += [text(x, 20.5, w, 5, head, 9, True, align) for head, x, w, _, align, _ in cols]
    customer.append(line(26, width=0.3))
    rows = [text(x, 0.5, w, 5, value, 9, False, align, fmt=fmt)
            for _, x, w, value, align, fmt in cols]
    aging = [line(1, width=0.3)]
    x = 0
    width = W / 6
    for head, column in [("Not yet due", "NotYetDue"), ("1-30 days", "Days30"),
                         ("31-60 days", "Days60"), ("61-90 days", "Days90"),
                         ("Over 90 days", "Over90"), ("Total Due", "Balance")]:
        # Framed boxes with the texts kept off their edges.
        aging.append({"type": "frame", "rect": [round(x, 3), 2.5, round(width - 1.5, 3), 5.5],
                      "lineWidth": 0.3})
        aging.append({"type": "frame", "rect": [round(x, 3), 8, round(width - 1.5, 3), 6.5],
                      "lineWidth": 0.3})
        aging.append(text(x + 1.2, 3, width - 4, 5, head, 9, True, "right"))
        aging.append(text(x + 1.2, 8.7, width - 4, 5.5,
                          '[SUM(<frxD."%s">,MasterData1)]' % column, 10, column == "Balance",
                          "right", fmt="%2.2m"))
        x += width
    aging.append(text(0, 16, W, 6,
                      'Total Due: [SUM(<frxD."Balance">,MasterData1)]', 11, True, "right",
                      fmt="%2.2m"))
    bands = [band("pageHeader", 27, shop),
             band("groupHeader", 27, customer, dataSet=d, column="Statement",
                  reprintOnNewPage=True, newPage=True),
             band("masterData", 6, rows, name="MasterData1", dataSet=d),
             band("groupFooter", 24, aging)]
    data = layout("Customer Statement", [d, "Reg"], bands, {"AsOf": ""})
    return data


def main():
    write("totals.json", totals())
    write("aging.json", aging())
    write("statement.json", statement())

    # A truck's documents, newest first, as the truck history lists them, in 8 points so
    # that "Archived Estimate" and a whole VIN fit their columns; a long customer name wraps.
    d = "frxD"
    history = listing("Truck History", d, [
        ("Date", 0, 16, field(d, "InvoiceDate_Inv"), "left", None),
        ("Kind", 17, 25, field(d, "Kind"), "left", None),
        ("No", 43, 11, field(d, "InvoiceNo_Inv"), "left", None),
        ("Mileage", 55, 12, field(d, "Mileage_Inv"), "right", None),
        ("Customer", 69, 26, field(d, "CustomerName_Inv"), "left", None),
        ("VIN", 96, 35, field(d, "Vin_Inv"), "left", None),
        ("Truck #", 132, 12, field(d, "TruckNo_Inv"), "left", None),
        ("Plate", 145, 17, field(d, "Plate_Inv"), "left", None),
        ("Total", 163, 17, field(d, "Amount_Inv"), "right", "%2.2m"),
        ("", 181, W - 181, field(d, "Comeback"), "left", None),
    ], [], ["[Title]", "VIN, truck # or plate: [Search]"])
    for b in history["pages"][0]["bands"]:
        if b["type"] == "masterData":
            b["stretch"] = True
            for o in b["objects"]:
                o["fontSize"] = 8
                if o["text"] == field(d, "CustomerName_Inv"):
                    o["wordWrap"] = True
        if b["type"] == "pageHeader":
            for o in b["objects"][3:]:
                if o.get("type") == "text":
                    o["fontSize"] = 8
    history["parameters"] = {"Title": "Truck History", "Search": ""}
    write("truck-history.json", history)

    d = "frxD"
    write("finished-invoices.json", listing("Finished Invoice Report", d, [
        ("Inv No", 0, 22, field(d, "InvNo"), "left", None),
        ("Customer Name", 24, 62, field(d, "Name"), "left", None),
        ("Via Payment", 88, 40, field(d, "Via"), "left", None),
        ("Date", 130, 25, field(d, "DateT"), "left", None),
        ("Amount", 157, W - 157, field(d, "Amount"), "right", "%2.2m"),
    ], [(95, W - 95, 'Total  : [SUM(<frxD."Amount">,MasterData1)]')]))

    write("open-invoices.json", listing("Open Invoice Report", d, [
        ("Inv No", 0, 18, field(d, "InvNo"), "left", None),
        ("Customer Name", 20, 55, field(d, "Name"), "left", None),
        ("Date", 77, 22, field(d, "DateT"), "left", None),
        ("Paid", 101, 28, field(d, "PaidT"), "right", "%2.2m"),
        ("Amount", 131, 30, field(d, "Amount"), "right", "%2.2m"),
        ("Balance", 163, W - 163, '[<frxD."Amount">-<frxD."PaidT">]', "right", "%2.2m"),
    ], [(40, 89, 'Total Paid  : [SUM(<frxD."PaidT">,MasterData1)]'),
        (131, W - 131, 'Total  Amount: [SUM(<frxD."Amount">,MasterData1)]')],
        ["Open invoices between date          /        /                 to          /        /  "]))

    d = "frxDBD1"
    write("payable-report.json", listing("Payable Report", d, [
        ("Bill No", 0, 22, field(d, "BillNo_Payable"), "left", None),
        ("Description", 24, 50, field(d, "Name_Payable"), "left", None),
        ("Via Payment", 76, 30, field(d, "ViaPayment_Payable"), "left", None),
        ("Date", 108, 22, field(d, "PayDate_Payable"), "left", None),
        ("Amount $", 132, 26, "$" + field(d, "Amount_Payable"), "right", None),
        ("Accounts", 161, W - 161,
         field(d, "Chart_Payable") + " " + field(d, "SubChart_Payable"), "left", None),
    ], [(95, W - 95, 'Total  $: [SUM(<frxDBD1."Amount_Payable">,MasterData1)]')]))

    d = "frxDBDataset1"
    write("receivable-report.json", listing("Receivable Report", d, [
        ("Inv No", 0, 22, field(d, "InvoiceNo_Receivable"), "left", None),
        ("Customer Name", 24, 62, field(d, "Name_Receivable"), "left", None),
        ("Via Payment", 88, 40, field(d, "ViaPayment_Receivable"), "left", None),
        ("Date", 130, 25, field(d, "PayDate_Receivable"), "left", None),
        ("Amount", 157, W - 157, field(d, "Amount_Receivable"), "right", "%2.2m"),
    ], [(95, W - 95, 'Total  $: [SUM(<frxDBDataset1."Amount_Receivable">,MasterData1)]')]))

    def order_line(head, x, w, column, align="left", fmt=None):
        return (head, x, w, field(d, column), align, fmt)

    write("order-report.json", grouped(
        "Vendors Report", d, "Po_Order",
        [[(0, 40, "Po# " + field(d, "Po_Order"), True),
          (42, 90, "Vendor: " + field(d, "Vendor_Order"), False),
          (134, W - 134, "Order Date: " + field(d, "OrderDate_Order"), False)],
         [(0, 130, "Customer: " + field(d, "SideMark_Order"), False)]],
        None,
        [order_line("Part Name", 4, 100, "Name_Item"),
         order_line("Qty", 106, 20, "Qty_Item", "right"),
         order_line("Rate", 128, 30, "Rate_Item", "right", "%2.2m"),
         ("Amount", 160, W - 160, '[<%s."Amount_Item">]' % d, "right", "%2.2m")],
        "Total Order", "Total", {"Title": "Vendors Report"}))

    invoice_lines = [
        [(0, 40, "Invoice # " + field(d, "InvoiceNo_Inv"), True),
         (42, 90, "Customer : " + field(d, "CustomerName_Inv"), False),
         (134, W - 134, "Invoice Date: " + field(d, "InvoiceDate_Inv"), False)],
        [(0, 45, "Po # : " + field(d, "Po_Inv"), False),
         (47, 45, "Amount $: [%s.\"Amount_Inv\" | %%2.2m]" % d, False),
         (94, 35, "Paid : " + field(d, "Paid_Inv"), False),
         (131, W - 131, "Truck # : " + field(d, "TruckNo_Inv"), False)],
    ]
    for kind, name, qty, rate, amount, each, all_ in (
            ("Parts", "Name_Item", "Qty_Item", "Rate_Item", "Amount_Item", "Total Items",
             "Total Parts"),
            ("Labor", "Description_Labor", "Qty_Labor", "Rate_Labor", "Amount_Labor",
             "Total Labors", "Total Labors")):
        write("customer-%s.json" % kind.lower(), grouped(
            "Customer Report " + kind, d, "InvoiceNo_Inv", invoice_lines, "Parts",
            [order_line("Part Name", 4, 100, name),
             order_line("Qty", 106, 20, qty, "right"),
             order_line("Rate", 128, 30, rate, "right", "%2.2m"),
             ("Amount", 160, W - 160, '[<%s."%s">]' % (d, amount), "right", "%2.2m")],
            each, all_))


if __name__ == "__main__":
    main()
