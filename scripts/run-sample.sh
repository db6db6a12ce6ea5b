#!/usr/bin/env bash
# Fresh-machine entry for the main job: installs what is needed, builds what
# the jobs need in the program folder (the runner, the model grid and the
# sample objects PRZYKLAD and PRZYKLAD_STOPNIE; scripts/test.sh builds the
# rest in the same tree) and runs a few jobs of every module on the sample,
# showing the monitor of each job and the head of its result file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
KOLVEDIR_TARGETS="kolvedir-batch model_grid sample_object" "$root/scripts/build.sh" "$root/build" RelWithDebInfo

home=$root/build/Kolvedir
object=$home/OBIEKTY/PRZYKLAD
batch=$home/bin/kolvedir-batch

job() {  # result file, then the options of kolvedir-batch
  local result=$1; shift
  echo
  echo "=== kolvedir-batch --object $object $*"
  "$batch" --object "$object" "$@"
  echo "--- head of $result (Windows-1250 shown as UTF-8):"
  head -n 4 "$object/$result" | iconv -f WINDOWS-1250 -t UTF-8 | tr -d '\r'
}

job BLH_KRA.1 --from xy2000 --from-frame PL-ETRF2000 --from-zone 21 --to BLH_KRA
job xy2000.1 --from xy92 --from-frame PL-ETRF2000 --to xy2000.1 --to-frame PL-ETRF89 --to-zone 21 \
  --method theoretical
job xy65.1 --from BLH_KRA --to xy65 --to-zone 1 --seconds-decimals 5 --linear-decimals 3
job BLH_GRS.1 --from XYZ_KRA --to BLH_GRS --to-frame PL-ETRF89 --bl-out deg
job BLH_EVRF.1 --from BLH_K86 --to BLH_EVRF
job BLn.1 --from BL --from-frame PL-ETRF2000
job BLH_n.1 --from BLH_e --from-frame PL-ETRF2000 --bl-out deg
object=$home/OBIEKTY/PRZYKLAD_STOPNIE
job BLn.1 --from BL --from-frame PL-ETRF2000 --bl-in deg
