# Binary workbooks for bench/compare-peers.sh: 100,000 cells and about 50 MB,
# text, numbers and dates over several sheets, written by xls-workbook.py.
generate() {
  python3 "$here/peers/xls-workbook.py" "$1/cells-100k.xls" 100000 4
  python3 "$here/peers/xls-workbook.py" "$1/cells-50mb.xls" 3200000 8
  echo "$1/cells-100k.xls"
  echo "$1/cells-50mb.xls"
}

peers() {
  printf 'xls2csv\txls2csv %s\n' "'$1'"
}
