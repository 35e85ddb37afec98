# Writes the printout layouts of the sales documents beside their windows: the invoice
# (invoicing/layouts/invoice.json without tax, invoice-tax.json with tax on the parts) and the
# estimate (estimates/layouts/estimate.json, estimate-tax.json). The layouts are kept as
# generated JSON so that the program reads them as resources; change them here and run, from
# the folder src: python3 ui/documents/make_sales_layouts.py .
import json, sys
W = 195.9
def t(rect, text, **kw):
    o = {"type": "text", "rect": rect, "text": text}
    o.update(kw); return o
def frame(rect, **kw):
    o = {"type": "frame", "rect": rect}; o.update(kw); return o
def line(a, b, **kw):
    o = {"type": "line", "from": a, "to": b}; o.update(kw); return o

D1, D2, D3, D4 = 'frxDBDataset1', 'frxDBDataset2', 'frxDBDataset3', 'frxDBDataset4'
def f(ds, col): return '[%s."%s"]' % (ds, col)
def reg(col): return '[Reg."%s"]' % col

# columns: Description | Part No | Qty | Rate | Amount
COLS = [0, 92, 122, 140, 168, W]
def columns_lines(h):
    return [line([x, 0], [x, h], growWithBand=True) for x in COLS[1:-1]]

def shop_block(kind):
    if kind == "Invoice":
        return [
            t([0, 0, 110, 10], "Tavlin Truck Repair", bold=True, fontSize=20),
            t([0, 11, 110, 5], reg("Address_R"), fontSize=9),
            t([0, 16, 110, 5], reg("City_R") + ", " + reg("State_R") + " " + reg("Zip_R"), fontSize=9),
            t([0, 21, 110, 5], "Tel: " + reg("Tel_R"), fontSize=9),
            t([0, 26, 110, 5], "Cell: " + reg("Cell_R"), fontSize=9),
        ]
    # The estimate names the shop as its profile does.
    return [
        t([0, 0, 120, 10], " " + reg("Name_R"), bold=True, fontSize=20),
        t([0, 11, 120, 5], "Address:  " + reg("Address_R"), bold=True, fontSize=9),
        t([0, 16, 120, 5], reg("City_R") + " " + reg("State_R") + ", " + reg("Zip_R"), bold=True, fontSize=9),
        t([0, 21, 120, 5], "Tel:" + reg("Tel_R"), bold=True, fontSize=9),
        t([0, 26, 120, 5], "Fax:" + reg("Fax_R"), bold=True, fontSize=9),
        t([0, 31, 120, 5], "Cell:" + reg("Cell_R"), bold=True, fontSize=9),
    ]

def vehicle_block(kind, y0):
    objs = []
    if kind == "Invoice":
        caps = {"vin": "Vin No:", "truck": "Truck No:", "plate": "Plate No:", "year": "Year:",
                "mileage": "Mileage:"}
    else:
        # The copy says whether the year has its caption ([YearCaption]).
        caps = {"vin": "Vin#", "truck": "Truck#", "plate": "Plate#", "year": "[YearCaption]",
                "mileage": "Milage:"}
    veh = [(caps["vin"], "Vin_Inv"), (caps["truck"], "TruckNo_Inv"), (caps["plate"], "Plate_Inv")]
    for i, (cap, col) in enumerate(veh):
        y = y0 + i * 6
        objs += [t([0, y, 22, 5.5], cap, bold=True, fontSize=9), t([22, y, 70, 5.5], f(D1, col), fontSize=9)]
    y = y0 + 18
    objs += [t([0, y, 22, 5.5], "Make:", bold=True, fontSize=9), t([22, y, 30, 5.5], f(D1, "Make_Inv"), fontSize=9),
             t([52, y, 19, 5.5], caps["year"], bold=True, fontSize=9), t([71, y, 24, 5.5], f(D1, "Year_Inv"), fontSize=9)]
    y = y0 + 24
    objs += [t([0, y, 22, 5.5], "Model:", bold=True, fontSize=9), t([22, y, 30, 5.5], f(D1, "Model_Inv"), fontSize=9),
             t([52, y, 19, 5.5], caps["mileage"], bold=True, fontSize=9), t([71, y, 24, 5.5], f(D1, "Mileage_Inv"), fontSize=9)]
    return objs

def header(kind, po_caption):
    objs = shop_block(kind) + [
        t([125, 0, W - 125, 6], "[CopyName]", align="center", fontSize=10),
        t([125, 6, W - 125, 10], kind, bold=True, fontSize=20, align="center"),
        t([125, 16, W - 125, 10], f(D1, "InvoiceNo_Inv"), bold=True, fontSize=20, align="center"),
    ]
    # vehicle block (left) and document block (right)
    y0 = 38
    objs += vehicle_block(kind, y0)
    x = 98
    inv = [("Invoice Date:", "InvoiceDate_Inv"), ("Due Date:", "DueDate_Inv"), (po_caption, "PO_Inv"),
           ("Customer Name:", "CustomerName_Inv")]
    for i, (cap, col) in enumerate(inv):
        yy = y0 + i * 6
        objs += [t([x, yy, 34, 5.5], cap, bold=True, fontSize=9), t([x + 34, yy, W - x - 34, 5.5], f(D1, col), fontSize=9)]
    yy = y0 + 24
    objs += [t([x, yy, 34, 5.5], "Billing Address:", bold=True, fontSize=9),
             t([x + 34, yy, W - x - 34, 14], f(D1, "JobLocation_Inv"), fontSize=9, wordWrap=True)]
    hy = 80
    objs += [frame([0, hy, W, 7], lineWidth=0.4)]
    heads = ["Description", "Part No", "Qty", "Rate", "Amount"]
    for i, h in enumerate(heads):
        objs.append(t([COLS[i] + 1.5, hy + 1, COLS[i + 1] - COLS[i] - 3, 5], h, bold=True, fontSize=10,
                      align="left" if i < 2 else "right"))
    objs += [line([c, hy], [c, hy + 7], lineWidth=0.4) for c in COLS[1:-1]]
    return {"type": "pageHeader", "height": 88, "objects": objs}

def row_band(name, ds, prefix, desc, partno, qty, rate, amount):
    h = 6
    objs = [frame([0, 0, W, h], growWithBand=True)] + columns_lines(h)
    objs.append(t([1.5, 0.7, COLS[1] - 3, 4.6], prefix + f(ds, desc), fontSize=9, wordWrap=True))
    if partno:
        objs.append(t([COLS[1] + 1.5, 0.7, COLS[2] - COLS[1] - 3, 4.6], f(ds, partno), fontSize=9))
    objs.append(t([COLS[2] + 1, 0.7, COLS[3] - COLS[2] - 2.5, 4.6], f(ds, qty), fontSize=9, align="right"))
    objs.append(t([COLS[3] + 1, 0.7, COLS[4] - COLS[3] - 2.5, 4.6], f(ds, rate), fontSize=9, align="right", format="%2.2m"))
    objs.append(t([COLS[4] + 1, 0.7, COLS[5] - COLS[4] - 2.5, 4.6], f(ds, amount), fontSize=9, align="right", format="%2.2m"))
    return {"type": "masterData", "name": name, "dataSet": ds, "height": h, "stretch": True, "objects": objs}

def footer(kind, taxed):
    parts = 'SUM(<%s."Amount_Item">,MasterData1)' % D2
    labor = 'SUM(<%s."Amount_Labor">,MasterData2)' % D3
    rate = '<%s."Tax_T">' % D4
    objs = [frame([0, 2, 118, 32], lineWidth=0.4),
            t([2, 3.5, 114, 16], "Remark : " + f(D1, "Remark_Inv"), fontSize=8, wordWrap=True),
            t([2, 21, 114, 5], "Please Remit to Tavlin Truck Repair and Mail it to Below Address." if kind == "Invoice"
              else "Please Remit to " + reg("Name_R") + "  and Mail it to Below Address.", fontSize=8),
            t([2, 27, 114, 5], "We Thank You for Your Business and Greatly Appreciate Your Referrals", fontSize=8),
            frame([121, 2, W - 121, 32], lineWidth=0.4)]
    lines = [("Total  Part   : ", "[%s]" % parts), ("Total Labor  : ", "[%s]" % labor),
             ("Tax on Part : ", "[%s * %s]" % (parts, rate) if taxed else "No Tax"),
             ("Total invoice : ", "[%s + %s + %s * %s]" % (parts, labor, parts, rate) if taxed else "[%s + %s]" % (parts, labor))]
    for i, (cap, val) in enumerate(lines):
        objs.append(t([123, 4 + i * 7.5, W - 125, 6], cap + val, fontSize=10, bold=(i == 3), format="%2.2m"))
    return {"type": "footer", "height": 36, "objects": objs}

TERMS = ("I hereby authorize the repair work to be done along with the necessary material, and hereby grant "
         "your employee\u2019s permissions to operate the vehicle herein described on streets, highways or "
         "elsewhere for the purpose of testing and/or inspection. I also authorize any sublet repair that you "
         "deem necessary. Our labor is warranted for 90 days or 4,000 miles- whichever occurs first. Warranty "
         "valid only if returned to us, at the customer\u2019s expense, for adjustment. No labor warranty for "
         "misuse, abuse or customer supplied parts.")

ESTIMATE_TERMS = ("I hereby authorize the work to be done along with the necessary material. "
                  "Our labor is warranted for 90 days. Warranty valid only if returned to us, at the "
                  "customer\u2019s expense, for adjustment. No labor warranty for misuse, abuse or "
                  "customer supplied parts.")

def page_footer(kind):
    if kind == "Invoice":
        address = (reg("Address_R") + ", " + reg("City_R") + ", " + reg("State_R") + " " + reg("Zip_R")
                   + "   Tel: " + reg("Tel_R") + "   " + reg("Web_R") + "   " + reg("Email_R"))
    else:
        address = ("ADDRESS : " + reg("Address_R") + ", " + reg("City_R") + " ," + reg("State_R") + " "
                   + reg("Zip_R") + "   Web Site :" + reg("Web_R") + "      Email: " + reg("Email_R"))
    objs = [frame([0, 0, W, 42], lineWidth=0.4),
            t([2, 1.5, W - 4, 14], TERMS if kind == "Invoice" else ESTIMATE_TERMS, fontSize=7, wordWrap=True),
            t([2, 17, 150, 4.5], "Terms: Cash unless other arrangements are made.     X ______________________", fontSize=8),
            t([72, 21.5, 45, 4], "Customer Signature", fontSize=7, align="right"),
            t([2, 27, 120, 4.5], "I acknowledge and oral approval of an increase in the original estimated price.", fontSize=8),
            t([125, 27, 60, 4.5], "X _____________________", fontSize=8),
            t([125, 31.5, 60, 4], "Customer Signature", fontSize=7),
            t([2, 36.5, W - 4, 4.5], address, fontSize=8, align="center")]
    return {"type": "pageFooter", "height": 42, "objects": objs}

def layout(kind, taxed):
    title_word = kind  # "Invoice" or "Estimate"
    po = "Driver Name:" if kind == "Invoice" else "Contact Name:"
    if kind == "Invoice":
        copies = [{"variables": {"CopyName": "Tavlin Truck Copy"}},
                  {"variables": {"CopyName": "Customer Copy"}},
                  {"variables": {"CopyName": "Accounting Copy"}}]
    else:
        # The second copy of the taxed estimate prints the year without its caption.
        copies = [{"variables": {"CopyName": " " + reg("Name_R") + " Copy", "YearCaption": "Year:"}},
                  {"variables": {"CopyName": "Customer Copy", "YearCaption": "" if taxed else "Year:"}},
                  {"variables": {"CopyName": "Accounting Copy", "YearCaption": "Year:"}}]
    if not taxed:
        copies[0]["paper"] = {"width": 210, "height": 280}
    ds = [D1, D2, D3] + ([D4] if taxed else []) + ["Reg"]
    bands = [header(title_word, po),
             row_band("MasterData1", D2, "Part : ", "Name_Item", "Color_Item", "Qty_Item", "Rate_Item", "Amount_Item"),
             row_band("MasterData2", D3, "Labor : ", "Description_Labor", None, "Qty_Labor", "Rate_Labor", "Amount_Labor"),
             footer(kind, taxed), page_footer(kind)]
    return {"title": kind,
            "dataSets": ds,
            "pages": [{"paper": {"width": 215.9, "height": 279.4}, "margins": 10, "copies": copies, "bands": bands}]}

src = sys.argv[1]
for kind, folder, name in [("Invoice", "invoicing", "invoice"), ("Estimate", "estimates", "estimate")]:
    for taxed, suffix in [(False, ""), (True, "-tax")]:
        with open("%s/%s/layouts/%s%s.json" % (src, folder, name, suffix), "w") as out:
            json.dump(layout(kind, taxed), out, indent=1, ensure_ascii=False)
