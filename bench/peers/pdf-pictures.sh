# PDF pictures: every picture of the 40-page picture file written to a file of
# its own, against Poppler's pdfimages (every placement, as stored in the file)
# and MuPDF's extract (each image once, as stored). quillet writes every
# placement as a JPEG of quality 90, text beside them.

export_options="--flags 0x11"

generate() {
  # The picture file of the pdf set, made there once.
  mkdir -p "$WORK/pdf"
  (. "$here/peers/pdf.sh" && generate "$WORK/pdf") | grep pictures-40
}

peers() {
  printf 'pdfimages\tpdfimages -j %s %s\n' "$1" "$WORK/pdf-pictures/pdfimages"
  # extract writes into the working folder, which is this set's.
  printf 'mutool-extract\tmutool extract %s\n' "$1"
}
