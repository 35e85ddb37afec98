# Writes the printouts of the payment lists beside their windows: the receivable list
# (receivables/layouts/receivable-list.json) and the payable list
# (payables/layouts/payable-list.json). Both print the rows of their list as it stands: the
# heading and column heads on the first page, a framed row per payment, the total of the
# printed amounts after the last row. Change them here and run, from the folder src:
# python3 ui/common/make_list_layouts.py .
import json, sys

W = 190
# Document no | name | pay date | via | ref | amount | chart, sub-chart
X = [0, 24, 66, 88, 116, 137, 158, 174, W]


def t(rect, text, **kw):
    o = {"type": "text", "rect": rect, "text": text}
    o.update(kw)
    return o


def layout(title, heading, ds, heads, cols, amount, page_numbers):
    f = lambda col: '[%s."%s"]' % (ds, col)
    top = [t([0, 0, W, 9], heading, bold=True, fontSize=16, align="center")]
    for i, h in enumerate(heads):
        right = X[i + 2] if i == 6 else X[i + 1]
        top.append(t([X[i] + 1, 12, right - X[i] - 2, 5], h, bold=True, fontSize=9,
                     align="right" if h == "Amount" else "left"))
    top.append({"type": "line", "from": [0, 18], "to": [W, 18], "lineWidth": 0.4})
    detail = [{"type": "frame", "rect": [0, 0, W, 6], "growWithBand": True}]
    for i, c in enumerate(cols):
        detail.append(t([X[i] + 1, 0.7, X[i + 1] - X[i] - 2, 4.6], f(c), fontSize=9,
                        align="right" if c == amount else "left"))
    bands = [
        {"type": "reportTitle", "height": 20, "objects": top},
        {"type": "masterData", "name": "MasterData1", "dataSet": ds, "height": 6,
         "stretch": True, "objects": detail},
        {"type": "footer", "height": 9, "objects": [
            t([100, 2, W - 100, 6], 'Total  Amount   : [SUM(<%s."%s">,MasterData1)]' % (ds, amount),
              bold=True, fontSize=10, align="right")]},
    ]
    if page_numbers:
        bands.append({"type": "pageFooter", "height": 7, "objects": [
            t([0, 1, W, 5], "[Page#]", fontSize=9, align="right")]})
    return {"title": title, "dataSets": [ds],
            "pages": [{"paper": {"width": 210, "height": 280}, "margins": 10, "bands": bands}]}


src = sys.argv[1]
lists = [
    ("receivables/layouts/receivable-list.json",
     layout("Receivable List", "Reveivable List", "frxDBDataset1",
            ["Invoice No", "Customer Name", "Pay Date", "Via Payment", "Ref", "Amount",
             "Chart of Acount"],
            ["InvoiceNo_Receivable", "Name_Receivable", "PayDate_Receivable",
             "ViaPayment_Receivable", "Ref_Receivable", "Amount_Receivable", "Chart_Receivable",
             "SubChart_Receivable"], "Amount_Receivable", True)),
    ("payables/layouts/payable-list.json",
     layout("Payable List", "Payable List", "frxDBDataset1PayAble",
            ["Bill No", "Vendor Name", "Pay Date", "Via Payment", "Ref", "Amount",
             "Chart of Acount"],
            ["BillNo_Payable", "Name_Payable", "PayDate_Payable", "ViaPayment_Payable",
             "Ref_Payable", "Amount_Payable", "Chart_Payable", "SubChart_Payable"],
            "Amount_Payable", False)),
]
for path, data in lists:
    with open("%s/%s" % (src, path), "w") as out:
        json.dump(data, out, indent=1)
