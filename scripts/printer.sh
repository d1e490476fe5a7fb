#!/usr/bin/env bash
# Starts cupsd with one PDF queue named PDF, the default printer.
set -uo pipefail
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  cupsd
  for _ in $(seq 1 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.1; done
fi
if ! lpstat -p PDF >/dev/null 2>&1; then
  lpadmin -p PDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
fi
lpadmin -d PDF
cupsenable PDF 2>/dev/null || true
cupsaccept PDF 2>/dev/null || true
# A second queue as real printers are: it does not print the outer millimetres of the sheet
# (6.0 mm left, 12.0 mm top, as its PPD declares), so that placement and checks are tried
# against a printable area that is not the paper.
if ! lpstat -p PDFM >/dev/null 2>&1; then
  ppd=$(mktemp --suffix=.ppd)
  sed -e 's/^\*HWMargins:.*/*HWMargins: 17 14 17 34/' \
      -e 's|^\*ImageableArea A4/A4:.*|*ImageableArea A4/A4: "17 14 578 808"|' \
      /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >"$ppd"
  grep -q '^\*HWMargins:' "$ppd" || echo '*HWMargins: 17 14 17 34' >>"$ppd"
  lpadmin -p PDFM -v cups-pdf:/ -E -P "$ppd"
  rm -f "$ppd"
fi
cupsenable PDFM 2>/dev/null || true
cupsaccept PDFM 2>/dev/null || true
