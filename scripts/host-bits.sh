# Sourced: tells whether this host runs 32-bit x86 Linux programs, by running one.
# Some kernels have their 32-bit emulation turned off; there every 32-bit program, Wine's 32-bit
# loader included, fails with "Exec format error", so nothing is assumed from the architecture.

# Writes a 96-byte static i386 ELF program that only exits with status 7 (int 0x80, exit(7)):
# an ELF header, one loadable segment and three instructions. No compiler or multilib needed.
krelmix_write_probe32() {
  printf '%b' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08' \
    '\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00' \
    '\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80' > "$1"
  chmod +x "$1"
}

# Succeeds when the probe runs and ends with its own status; the answer is kept for the shell.
krelmix_host_runs_32bit() {
  if [ -z "${KRELMIX_HOST_RUNS_32BIT:-}" ]; then
    # Written into the build tree: a temporary folder may be mounted without execution rights.
    local dir probe
    dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build"
    mkdir -p "$dir"
    probe="$dir/probe32.$$"
    krelmix_write_probe32 "$probe"
    local status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    if [ "$status" = 7 ]; then KRELMIX_HOST_RUNS_32BIT=1; else KRELMIX_HOST_RUNS_32BIT=0; fi
    export KRELMIX_HOST_RUNS_32BIT
  fi
  [ "$KRELMIX_HOST_RUNS_32BIT" = 1 ]
}
