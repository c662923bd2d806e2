# Word-processing packages for bench/compare-peers.sh: 250 pages with tables,
# comments and per-section headers and footers, and a main part of just under
# 50 MiB. Peer: docx2txt.

generate() {
  python3 - "$1" <<'PY'
import sys, zipfile
folder = sys.argv[1]
W = 'http://schemas.openxmlformats.org/wordprocessingml/2006/main'
T = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
VOCAB = ('report quarter revenue growth north market the of and forecast customer service delivery plan south east west budget figure table summary analysis result increase decrease profit loss margin team project schedule risk quality supplier contract price volume region office meeting review action owner status update target actual variance cost sales order invoice payment balance asset annual monthly weekly draft final approved pending closed open').split()

def words(count, seed):
    x, out = seed, []
    for _ in range(count):
        x = (x * 1103515245 + 12345) % 2147483648
        out.append(VOCAB[(x >> 16) % 64] + ' ')
    return ''.join(out)

def para(text):
    return ('<w:p><w:pPr><w:pStyle w:val="Normal"/><w:jc w:val="left"/></w:pPr><w:r><w:rPr><w:b/></w:rPr>'
            '<w:t xml:space="preserve">%s</w:t></w:r></w:p>' % text)

def write(path, body, rels, others):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml',
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" '
                   'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
                   '</Types>')
        z.writestr('_rels/.rels', '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   '<Relationship Id="rId1" Type="%sofficeDocument" Target="word/document.xml"/></Relationships>' % T)
        z.writestr('word/document.xml', body)
        z.writestr('word/_rels/document.xml.rels',
                   '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">%s'
                   '</Relationships>' % rels)
        for name, data in others:
            z.writestr(name, data)
    print(path)

root = '<w:document xmlns:w="%s" xmlns:r="%s"><w:body>' % (W, T)
body, rels, others = [root], ['<Relationship Id="c" Type="%scomments" Target="comments.xml"/>' % T], []
comments = ['<w:comments xmlns:w="%s">' % W]
for page in range(250):
    body += [para(words(60, page * 8 + p)) for p in range(8)]
    body.append('<w:p><w:r><w:t>Comment anchor</w:t></w:r></w:p><w:tbl><w:tblPr/>')
    for row in range(4):
        body.append('<w:tr>' + ''.join('<w:tc><w:tcPr/>%s</w:tc>' % para(words(3, row * 3 + c)) for c in range(3))
                    + '</w:tr>')
    body.append('</w:tbl>')
    comments.append('<w:comment w:id="%d" w:author="A"><w:p><w:r><w:t>%s</w:t></w:r></w:p></w:comment>'
                    % (page, words(12, page)))
    if page % 25 == 24:
        n = page // 25
        body.append('<w:p><w:pPr><w:sectPr><w:headerReference w:type="default" r:id="h%d"/><w:footerReference '
                    'w:type="default" r:id="f%d"/></w:sectPr></w:pPr></w:p>' % (n, n))
        rels.append('<Relationship Id="h%d" Type="%sheader" Target="header%d.xml"/>' % (n, T, n))
        rels.append('<Relationship Id="f%d" Type="%sfooter" Target="footer%d.xml"/>' % (n, T, n))
        others.append(('word/header%d.xml' % n, '<w:hdr xmlns:w="%s">%s</w:hdr>' % (W, para('Section %d header' % n))))
        others.append(('word/footer%d.xml' % n, '<w:ftr xmlns:w="%s">%s</w:ftr>' % (W, para('Page footer'))))
body.append('</w:body></w:document>')
others.append(('word/comments.xml', ''.join(comments) + '</w:comments>'))
write(folder + '/pages-250.docx', ''.join(body), ''.join(rels), others)

parts, size, p = [root], len(root), 0
while size < 52000000 - 1000:
    parts.append(para(words(60, p)))
    size += len(parts[-1])
    p += 1
parts.append('</w:body></w:document>')
write(folder + '/body-50mib.docx', ''.join(parts), '', [])
PY
}

peers() {
  printf 'docx2txt\tdocx2txt %s -\n' "'$1'"
}
