# Sourced by bench/compare-peers.sh: a presentation of 500 slides (a title, a
# body of five paragraphs and a 3x4 table each, with notes), against
# LibreOffice's headless conversion to HTML (Debian has no faster PPTX text
# tool) and an unzip | sed tag strip as the crude lower bound.

generate() {
  python3 - "$1/slides.pptx" <<'PY'
import sys, zipfile
rels = '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
t = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
ns = ('xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" '
      'xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main"')
words = ["revenue", "cost", "北京", "margin", "forecast", "région", "total", "quarter", "上海", "growth", "budget", "delta"]
def para(n, count):
    text = " ".join(words[(n * 5 + w) % 12] for w in range(count))
    return f'<a:p><a:r><a:rPr lang="en-US" sz="2000" dirty="0"/><a:t>{text}</a:t></a:r></a:p>'
def shape(i, body):
    return (f'<p:sp><p:nvSpPr><p:cNvPr id="{i}" name="Shape {i}"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm><a:off x="0" y="{i * 900000}"/>'
            f'<a:ext cx="8000000" cy="800000"/></a:xfrm><a:prstGeom prst="rect"><a:avLst/></a:prstGeom></p:spPr><p:txBody><a:bodyPr/><a:lstStyle/>{body}</p:txBody></p:sp>')
tree_head = '<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id="1" name=""/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>'
slides = 500
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    types = ['<Override PartName="/ppt/presentation.xml" ContentType="application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml"/>']
    rel_list, id_list = [], []
    for s in range(1, slides + 1):
        types.append(f'<Override PartName="/ppt/slides/slide{s}.xml" ContentType="application/vnd.openxmlformats-officedocument.presentationml.slide+xml"/>')
        types.append(f'<Override PartName="/ppt/notesSlides/notesSlide{s}.xml" ContentType="application/vnd.openxmlformats-officedocument.presentationml.notesSlide+xml"/>')
        rel_list.append(f'<Relationship Id="rId{s + 10}" Type="{t}slide" Target="slides/slide{s}.xml"/>')
        id_list.append(f'<p:sldId id="{255 + s}" r:id="rId{s + 10}"/>')
        table = ('<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id="9" name="Table"/><p:cNvGraphicFramePr/><p:nvPr/></p:nvGraphicFramePr>'
                 '<p:xfrm><a:off x="0" y="5000000"/><a:ext cx="8000000" cy="1500000"/></p:xfrm><a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/table"><a:tbl>'
                 '<a:tblGrid><a:gridCol w="2600000"/><a:gridCol w="2600000"/><a:gridCol w="2600000"/></a:tblGrid>' +
                 "".join('<a:tr h="370840">' + "".join(f'<a:tc><a:txBody><a:bodyPr/>{para(s * 12 + r * 3 + c, 2)}</a:txBody><a:tcPr/></a:tc>' for c in range(3)) + '</a:tr>' for r in range(4)) +
                 '</a:tbl></a:graphicData></a:graphic></p:graphicFrame>')
        z.writestr(f"ppt/slides/slide{s}.xml", f'<?xml version="1.0" encoding="UTF-8"?><p:sld {ns}>{tree_head}{shape(2, para(s, 4))}{shape(3, "".join(para(s + p, 12) for p in range(5)))}{table}</p:spTree></p:cSld></p:sld>')
        z.writestr(f"ppt/slides/_rels/slide{s}.xml.rels", rels + f'<Relationship Id="rId1" Type="{t}notesSlide" Target="../notesSlides/notesSlide{s}.xml"/></Relationships>')
        z.writestr(f"ppt/notesSlides/notesSlide{s}.xml", f'<?xml version="1.0" encoding="UTF-8"?><p:notes {ns}>{tree_head}{shape(2, para(s, 30))}</p:spTree></p:cSld></p:notes>')
    z.writestr("[Content_Types].xml", '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
               '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/>' + "".join(types) + '</Types>')
    z.writestr("_rels/.rels", rels + f'<Relationship Id="rId1" Type="{t}officeDocument" Target="ppt/presentation.xml"/></Relationships>')
    z.writestr("ppt/_rels/presentation.xml.rels", rels + "".join(rel_list) + "</Relationships>")
    z.writestr("ppt/presentation.xml", f'<?xml version="1.0" encoding="UTF-8"?><p:presentation {ns}><p:sldIdLst>{"".join(id_list)}</p:sldIdLst>'
               '<p:sldSz cx="9144000" cy="6858000"/><p:notesSz cx="6858000" cy="9144000"/></p:presentation>')
PY
  echo "$1/slides.pptx"
}

peers() {
  printf 'unzip-sed\tsh -c "unzip -p %s ppt/slides/*.xml | sed -e s/\\<[^\\>]*\\>/\\ /g > %s/strip.txt"\n' "$1" "$WORK"
  printf 'soffice-html\tsoffice -env:UserInstallation=file://%s/lo --headless --convert-to html --outdir %s/lo-out %s\n' \
    "$WORK" "$WORK" "$1"
}
