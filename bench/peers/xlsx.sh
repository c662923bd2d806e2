# Sourced by bench/compare-peers.sh: a workbook of about 9.5 MB of worksheet
# XML (250,000 cells: shared strings, numbers, formulas, booleans), against
# xlsx2csv and LibreOffice's headless conversion to CSV.

generate() {
  python3 - "$1/book.xlsx" <<'PY'
import sys, zipfile
rels = '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
t = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
main = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
words = ["revenue", "cost", "北京", "margin", "forecast", "région", "total", "quarter", "上海", "growth", "budget", "delta"]
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("[Content_Types].xml", '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
               '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/>'
               '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
               '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
               '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>')
    z.writestr("_rels/.rels", rels + f'<Relationship Id="rId1" Type="{t}officeDocument" Target="xl/workbook.xml"/></Relationships>')
    z.writestr("xl/_rels/workbook.xml.rels", rels + f'<Relationship Id="rId1" Type="{t}worksheet" Target="worksheets/sheet1.xml"/>'
               f'<Relationship Id="rId2" Type="{t}sharedStrings" Target="sharedStrings.xml"/></Relationships>')
    z.writestr("xl/workbook.xml", f'<?xml version="1.0" encoding="UTF-8"?><workbook {main}><sheets><sheet name="Data" sheetId="1" r:id="rId1"/></sheets></workbook>')
    z.writestr("xl/sharedStrings.xml", f'<?xml version="1.0" encoding="UTF-8"?><sst {main}>' +
               "".join(f"<si><t>{words[i % 12]} {words[i // 12 % 12]} {i}</t></si>" for i in range(5000)) + "</sst>")
    rows, size, r = [], 0, 0
    while size < 9500000:
        r += 1
        row = (f'<row r="{r}"><c r="A{r}" t="s"><v>{r * 7 % 5000}</v></c><c r="B{r}"><v>{r * 37 % 100003}.25</v></c>'
               f'<c r="C{r}"><f>B{r}*2</f><v>{r * 74 % 200006}.5</v></c><c r="D{r}" t="s"><v>{r * 13 % 5000}</v></c>'
               f'<c r="E{r}" t="b"><v>{r & 1}</v></c><c r="F{r}"><v>{r}</v></c></row>')
        rows.append(row)
        size += len(row)
    z.writestr("xl/worksheets/sheet1.xml", f'<?xml version="1.0" encoding="UTF-8"?><worksheet {main}><sheetData>' + "".join(rows) + "</sheetData></worksheet>")
PY
  echo "$1/book.xlsx"
}

peers() {
  printf 'xlsx2csv\txlsx2csv %s %s/book.csv\n' "$1" "$WORK"
  printf 'soffice-csv\tsoffice -env:UserInstallation=file://%s/lo --headless --convert-to csv --outdir %s/lo-out %s\n' \
    "$WORK" "$WORK" "$1"
}
