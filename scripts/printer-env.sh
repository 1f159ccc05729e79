# Sourced by the test scripts: a running CUPS scheduler with a PDF printer, so
# that programs under Wine print for real and the tests read the PDF back with
# pdftotext. Wine lists every CUPS queue as an ordinary Windows printer.
#
#   qlm_start_printer   starts cupsd (as root) when it is not running and adds
#                       the queue QLM-PDF on the cups-pdf backend when no
#                       cups-pdf queue exists; exports QLM_PDF_DIR, the folder
#                       the PDFs of this user's jobs land in, and QLM_PRINTER,
#                       the queue's name. Harmless to call twice, and a no-op
#                       where CUPS is not installed (printing tests then skip).
#   qlm_pdf_dir         prints that folder.
#
# The scheduler is shared by every worktree on the machine and is left running.

qlm_pdf_dir() {
  # cups-pdf's "Out" setting; ${HOME} is the home of the job's owner.
  local out
  out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n1)
  [ -n "$out" ] || out='${HOME}/PDF'
  local home
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  echo "${out//\$\{HOME\}/${home:-$HOME}}"
}

qlm_start_printer() {
  command -v cupsd >/dev/null 2>&1 || command -v /usr/sbin/cupsd >/dev/null 2>&1 || return 0
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    if [ "$(id -u)" = 0 ]; then
      /usr/sbin/cupsd </dev/null >/dev/null 2>&1 || true
      local i
      for i in $(seq 1 50); do
        lpstat -r 2>/dev/null | grep -q 'is running' && break
        sleep 0.1
      done
    fi
  fi
  lpstat -r 2>/dev/null | grep -q 'is running' || return 0
  local queue
  queue=$(lpstat -v 2>/dev/null | sed -n 's/^device for \([^:]*\): cups-pdf:.*/\1/p' | head -n1)
  if [ -z "$queue" ] && [ "$(id -u)" = 0 ]; then
    local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    [ -f "$ppd" ] || ppd=$(ls /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -n1)
    if lpadmin -p QLM-PDF -E -v cups-pdf:/ ${ppd:+-P "$ppd"} >/dev/null 2>&1; then
      queue=QLM-PDF
      lpadmin -d QLM-PDF >/dev/null 2>&1 || true
    fi
  fi
  [ -n "$queue" ] || return 0
  export QLM_PRINTER=$queue
  QLM_PDF_DIR=$(qlm_pdf_dir)
  export QLM_PDF_DIR
  mkdir -p "$QLM_PDF_DIR" 2>/dev/null || true
}
