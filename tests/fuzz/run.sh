#!/usr/bin/env bash
# Runs each libFuzzer harness of BUILD_DIR (configured with -DVRK_FUZZ=ON) for SECONDS (60 when not
# given) from a seed corpus that vrkcli makes: a small sorted catalog with memos and a deleted entry,
# its index files, and its dBase and CSV exports. Prints the runs of each harness; an input that
# failed is kept as BUILD_DIR/fuzz-findings/HARNESS-crash-… and the script ends with 1.
set -euo pipefail
build=$(cd "${1:?usage: tests/fuzz/run.sh BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-60}
bin=$build/bin
findings=$build/fuzz-findings
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$findings" "$work"/{cat,index,dbase,csv,catalog}

export VRK_HOME=$work
cli() { "$bin/vrkcli" "$@" >/dev/null; }
base=$work/cat/SEED
cli new "$base" Artist:20:key Title:25:key Year:4 Price:8:sum Qty:3:sum Value:10:sum:calc=D*E
cli add "$base" Artist=Zappa "Title=Hot Rats" Year=1969 Price=9.50 Qty=2
cli add "$base" Artist=abba Title=Arrival Year=1976 Price=7.25 Qty=1
cli add "$base" "Artist=Bjork" Title=Debut Price=12
cli add "$base" Artist=Lorde Title=Melodrama Year=2017
cli delete "$base" 3
cli sort "$base" Title
cli memo "$base" 1 --set "Recorded in one week"
cli memo "$base" 4 --set "A second memo"
cli export-csv "$base" "$work/csv/seed.csv"
cli export-dbf "$base" "$work/dbase/seed.dbf"
cp "$work"/cat/*.WDX "$work/index/"
# The catalog as it is, and damaged: entry 3's NextSorted leads back to entry 2, whose memo number is 1e9.
"$bin/vrkcli" info "$base" >"$work/info"
python3 - "$base" "$work/info" "$work/catalog" <<'PY'
import struct, sys
base, info, out = sys.argv[1:]
setup, entries, memos = (open(base + ext, 'rb').read() for ext in ('.SET', '.DAT', '.MEM'))
def seed(name, entries):
    open(out + '/' + name, 'wb').write(struct.pack('<II', len(setup), len(entries)) + setup + entries + memos)
def mbf(value):  # Microsoft Binary Format single of a normal IEEE single
    bits = struct.unpack('<I', struct.pack('<f', value))[0]
    return bytes([bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 31) << 7 | (bits >> 16) & 0x7F, (bits >> 23 & 0xFF) + 2])
lines = [line.split('\t') for line in open(info).read().splitlines()]
length = int(next(line[1] for line in lines if line[0] == 'entry-length'))
links = 4 + sum(int(line[2]) for line in lines if line[0].isdigit())
damaged = bytearray(entries)
damaged[3 * length + links:3 * length + links + 4] = mbf(2)
damaged[2 * length + links + 8:2 * length + links + 12] = mbf(1e9)
seed('whole', entries)
seed('damaged', bytes(damaged))
PY

# The harnesses write their files in memory where they can: the disk's syncs would slow them a hundredfold.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
status=0
for pair in IndexFuzz:index DbaseFuzz:dbase CsvFuzz:csv CatalogFuzz:catalog; do
  harness=${pair%%:*} corpus=$work/${pair#*:}
  log=$work/$harness.log
  if (cd "$work" && "$bin/$harness" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/$harness-" "$corpus" >"$log" 2>&1); then
    echo "$harness: $(grep -o 'Done [0-9]* runs' "$log" | tail -1 | cut -d' ' -f2 || true) runs, no finding"
  else
    echo "$harness: FINDING (input kept in $findings)"
    tail -40 "$log"
    status=1
  fi
done
exit $status
