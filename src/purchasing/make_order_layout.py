# Writes the printout layout of a purchase order as sent to the vendor
# (purchasing/layouts/order.json). The layout is kept as generated JSON so that the program
# reads it as a resource; change it here and run, from the folder src:
# python3 purchasing/make_order_layout.py .
import json, sys
W = 195.9
def t(rect, text, **kw):
    o = {"type": "text", "rect": rect, "text": text}
    o.update(kw); return o
def frame(rect, **kw):
    o = {"type": "frame", "rect": rect}; o.update(kw); return o
def line(a, b, **kw):
    o = {"type": "line", "from": a, "to": b}; o.update(kw); return o

def f(ds, col): return '[%s."%s"]' % (ds, col)
def reg(col): return f("Reg", col)

# columns: Part No | Part Name | Qty | Rate | Amount
COLS = [0, 40, 122, 140, 168, W]

def header():
    objs = [
        t([0, 0, 120, 9], reg("Name_R"), bold=True, fontSize=16),
        t([0, 10, 120, 5], reg("Address_R"), fontSize=9),
        t([0, 15, 120, 5], reg("City_R") + ", " + reg("State_R") + " " + reg("Zip_R"), fontSize=9),
        t([0, 20, 120, 5], "Tel: " + reg("Tel_R"), fontSize=9),
        t([120, 0, W - 120, 9], "PURCHASE ORDER", bold=True, fontSize=16, align="right"),
        t([120, 10, W - 120, 7], "PO# " + f("Order", "Po_Order"), bold=True, fontSize=12, align="right"),
    ]
    # The vendor it goes to (left) and the order's own facts (right).
    y = 32
    objs += [frame([0, y, 96, 34], lineWidth=0.3),
             t([2, y + 1.5, 92, 5], "Vendor", bold=True, fontSize=9),
             t([2, y + 7, 92, 5.5], f("Order", "Vendor_Order"), bold=True, fontSize=10),
             t([2, y + 13, 92, 5], f("Vendor", "Address_Company"), fontSize=9),
             t([2, y + 18, 92, 5], f("Vendor", "City_Company") + " " + f("Vendor", "State_Company") + " "
               + f("Vendor", "Zip_Company"), fontSize=9),
             t([2, y + 23, 92, 5], "Tel: " + f("Vendor", "Tell_Company"), fontSize=9)]
    facts = [("Order Date:", "OrderDate_Order"), ("Ship Date:", "ShipDate_Order"),
             ("Side Mark:", "SideMark_Order"), ("Ship To:", "ShipTo_Order"), ("Order By:", "OrderBy_Order")]
    x = 102
    for i, (cap, col) in enumerate(facts):
        yy = y + 1.5 + i * 6
        objs += [t([x, yy, 28, 5], cap, bold=True, fontSize=9),
                 t([x + 28, yy, W - x - 28, 5], f("Order", col), fontSize=9)]
    hy = 72
    objs.append(frame([0, hy, W, 7], lineWidth=0.4))
    heads = ["Part No", "Part Name", "Qty", "Rate", "Amount"]
    for i, h in enumerate(heads):
        objs.append(t([COLS[i] + 1.5, hy + 1, COLS[i + 1] - COLS[i] - 3, 5], h, bold=True, fontSize=10,
                      align="left" if i < 2 else "right"))
    objs += [line([c, hy], [c, hy + 7], lineWidth=0.4) for c in COLS[1:-1]]
    return {"type": "pageHeader", "height": 80, "objects": objs}

def rows():
    h = 6
    objs = [frame([0, 0, W, h], growWithBand=True)]
    objs += [line([x, 0], [x, h], growWithBand=True) for x in COLS[1:-1]]
    cells = [("Color_Item", "left", None), ("Name_Item", "left", None), ("Qty_Item", "right", None),
             ("Rate_Item", "right", "%2.2m"), ("Amount_Item", "right", "%2.2m")]
    for i, (col, align, fmt) in enumerate(cells):
        kw = {"fontSize": 9, "align": align}
        if fmt:
            kw["format"] = fmt
        if col == "Name_Item":
            kw["wordWrap"] = True
        objs.append(t([COLS[i] + 1.5, 0.7, COLS[i + 1] - COLS[i] - 3, 4.6], f("Lines", col), **kw))
    return {"type": "masterData", "name": "MasterData1", "dataSet": "Lines", "height": h, "stretch": True,
            "objects": objs}

def footer():
    total = 'SUM(<Lines."Amount_Item">,MasterData1)'
    return {"type": "footer", "height": 12, "objects": [
        frame([COLS[3], 2, W - COLS[3], 8], lineWidth=0.4),
        t([COLS[3] + 1.5, 3.5, COLS[4] - COLS[3] - 3, 5], "Total", bold=True, fontSize=10),
        t([COLS[4] + 1, 3.5, COLS[5] - COLS[4] - 2.5, 5], "[%s]" % total, bold=True, fontSize=10,
          align="right", format="%2.2m")]}

def page_footer():
    return {"type": "pageFooter", "height": 8, "objects": [
        t([0, 2, W, 5], "Please ship to " + reg("Name_R") + ", " + reg("Address_R") + ", " + reg("City_R")
          + ", " + reg("State_R") + " " + reg("Zip_R") + " and quote PO# " + f("Order", "Po_Order")
          + " on every package and bill.", fontSize=8, align="center")]}

layout = {"title": "Purchase Order",
          "dataSets": ["Order", "Lines", "Vendor", "Reg"],
          "pages": [{"paper": {"width": 215.9, "height": 279.4}, "margins": 10,
                     "bands": [header(), rows(), footer(), page_footer()]}]}
with open("%s/purchasing/layouts/order.json" % sys.argv[1], "w") as out:
    json.dump(layout, out, indent=1, ensure_ascii=False)
