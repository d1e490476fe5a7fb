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
