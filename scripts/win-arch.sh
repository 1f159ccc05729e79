# Sourced by the setup, build and Wine scripts: which Windows build this machine
# can run. The shipped programs are 32-bit (i686); a machine whose kernel runs
# no 32-bit code (no IA-32 emulation: Wine's 32-bit loader fails with "Exec
# format error") builds and tests the same sources as 64-bit programs (x86_64)
# under 64-bit Wine instead. QLM_WIN_ARCH=i686|x86_64 overrides the probe.
#   qlm_win_arch    prints i686 or x86_64
qlm_win_arch() {
  if [ -n "${QLM_WIN_ARCH:-}" ]; then echo "$QLM_WIN_ARCH"; return; fi
  # The 32-bit dynamic loader comes with Wine's 32-bit packages.
  if [ -x /lib/ld-linux.so.2 ] && ! /lib/ld-linux.so.2 --help >/dev/null 2>&1; then
    echo x86_64
  else
    echo i686
  fi
}
