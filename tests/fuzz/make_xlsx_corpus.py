#!/usr/bin/env python3
"""Writes the saved inputs of the .xlsx reader's fuzz target: small workbooks, hand-made.

Most parts are stored rather than deflated, so the fuzzer's mutations reach the XML. Run it
again after a change of what the reader accepts; the files it writes are committed.
"""

import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "xlsx_reader")
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"


def package(sheets, shared=None, order=None, date1904=False):
    """sheets: list of (name, part file name, sheet XML) in workbook order."""
    parts = {
        "[Content_Types].xml": '<Types xmlns="http://schemas.openxmlformats.org/package/2006/'
                               'content-types"/>',
        "_rels/.rels": '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                       f'relationships"><Relationship Id="rId1" Type="{REL}/officeDocument" '
                       'Target="xl/workbook.xml"/></Relationships>',
    }
    entries = "".join(f'<sheet name="{name}" sheetId="{i + 1}" r:id="rId{i + 1}"/>'
                      for i, (name, _, _) in enumerate(sheets))
    parts["xl/workbook.xml"] = (f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><workbookPr '
                                f'date1904="{int(date1904)}"/><sheets>{entries}</sheets>'
                                '</workbook>')
    rels = "".join(f'<Relationship Id="rId{i + 1}" Type="{REL}/worksheet" '
                   f'Target="worksheets/{part}"/>' for i, (_, part, _) in enumerate(sheets))
    rels += f'<Relationship Id="rIdS" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>'
    parts["xl/_rels/workbook.xml.rels"] = (
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        f"{rels}</Relationships>")
    for _, part, xml in sheets:
        parts[f"xl/worksheets/{part}"] = (f'<worksheet xmlns="{MAIN}"><dimension ref="A1:H9"/>'
                                          f"<sheetData>{xml}</sheetData></worksheet>")
    if shared is not None:
        items = "".join(shared)
        parts["xl/sharedStrings.xml"] = (f'<sst xmlns="{MAIN}" count="{len(shared)}" '
                                         f'uniqueCount="{len(shared)}">{items}</sst>')
    return [(name, parts[name]) for name in (order or parts)]


def write(name, entries, compression=zipfile.ZIP_STORED):
    with zipfile.ZipFile(os.path.join(OUT, name), "w", compression) as z:
        for part, content in entries:
            info = zipfile.ZipInfo(part, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = compression
            z.writestr(info, content.encode())


def main():
    os.makedirs(OUT, exist_ok=True)
    captions = "".join(f'<c r="{c}6" t="s"><v>{i}</v></c>' for i, c in enumerate("ABCDEFGH"))
    rows = "".join(f'<row r="{r}">' + "".join(f'<c r="{c}{r}"><v>{r * 3 + i}</v></c>'
                                              for i, c in enumerate("ABCDEFG"))
                   + f'<c r="H{r}" t="inlineStr"><is><t>dev-{r}</t></is></c></row>'
                   for r in range(7, 12))
    shared = [f"<si><t>{t}</t></si>" for t in
              ["동작구분", "월", "요일", "일", "시간", "분", "접점", "ID"]]
    timetable = ('<row r="2"><c r="A2" t="inlineStr"><is><t> 동작구분 : ON(0)</t></is></c></row>'
                 f'<row r="6">{captions}</row>{rows}')
    write("timetable.xlsx", package([("Sheet1", "sheet1.xml", timetable)], shared))
    write("timetable_deflated.xlsx", package([("Sheet1", "sheet1.xml", timetable)], shared),
          zipfile.ZIP_DEFLATED)
    kinds = ('<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="b"><v>1</v></c>'
             '<c r="C1" t="e"><v>#N/A</v></c><c r="D1"><f>1+2</f><v>3</v></c>'
             '<c r="E1" t="str"><f>A1</f><v>a_x000D_b</v></c>'
             '<c r="F1" t="d"><v>2024-03-01T12:00:00</v></c><c r="G1"><v>1.5E3</v></c></row>'
             '<row><c><v>1</v></c><c t="inlineStr"><is><r><t>x</t></r><r><t><![CDATA[<y>]]>'
             '</t></r></is></c></row>')
    rich = ['<si><r><rPr><b/></rPr><t>rich</t></r><r><t xml:space="preserve"> text</t></r>'
            '<rPh sb="0" eb="1"><t>ph</t></rPh></si>']
    write("kinds.xlsx", package([("Kinds", "sheet1.xml", kinds)], rich, date1904=True))
    two = package([("Timetable", "sheet2.xml", timetable), ("Other", "sheet1.xml",
                                                           '<row r="1"><c r="A1"><v>9</v></c></row>')],
                  shared)
    names = [n for n, _ in two]
    first = names.index("xl/worksheets/sheet1.xml")
    names.insert(0, names.pop(first))
    write("sheet_order.xlsx", [(n, dict(two)[n]) for n in names])


if __name__ == "__main__":
    main()
