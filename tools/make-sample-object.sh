#!/usr/bin/env bash
# Makes the point files and notes of the sample object PRZYKLAD from one list of places
# (B, L in PL-ETRF2000, normal height in PL-KRON86-NH), by running the jobs of
# kolvedir-batch, so that every file holds the same places in its own system.
# The frame changes use the theoretical method, so the files do not depend on
# the values of the grid; the heights use the grid's quasigeoid.
#   tools/make-sample-object.sh BATCH GRID OUTDIR
# writes Windows-1250 files with CR LF line ends into OUTDIR, B L in degrees,
# minutes and seconds (the program's default input format), and the files with
# B L into OUTDIR_STOPNIE once more in decimal degrees; the notes (notatnik.txt)
# of each tell what its files hold and which BL input format to choose.
set -euo pipefail
batch=$1 grid=$2 out=$3
decimal=${out}_STOPNIE
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$decimal"

# name (UTF-8, converted below), B, L (decimal degrees), normal height (m).
places='Warszawa 52.231900 21.006700 112.40
Kraków 50.061400 19.937200 219.30
Gdańsk 54.348600 18.653200 7.80
Szczecin 53.428900 14.553000 24.60
Wrocław 51.109900 17.032600 119.20
Poznań 52.408200 16.933500 68.10
Łódź 51.759200 19.456000 209.70
Białystok 53.132500 23.168800 139.50
Lublin 51.246500 22.568400 203.90
Rzeszów 50.037500 22.004700 214.80
Kielce 50.870300 20.627500 264.20
Zakopane 49.299200 19.949600 837.60
Suwałki 54.111500 22.930800 174.90
Zielona_Góra 51.935600 15.506200 149.70
Katowice 50.259900 19.021600 268.40
Olsztyn 53.778400 20.480100 129.30'

crlf() { sed 's/$/\r/'; }
cp1250() { iconv -f UTF-8 -t WINDOWS-1250; }
# Keeps the name and the first n numbers of every record (drops the comment).
columns() { LC_ALL=C awk -v n="$1" '{ s = $1; for (i = 2; i <= n + 1; i++) s = s " " $i; print s }' | crlf; }
# The records of the named places only (names in UTF-8 as above).
only() { local pattern; pattern=$(printf '%s\n' "$@" | cp1250 | paste -sd'|'); LC_ALL=C grep -E "^ *($pattern) "; }
run() {
  "$batch" --grid "$grid" --object "$work" "$@" > /dev/null 2> "$work/errors" || { cat "$work/errors" >&2; exit 1; }
}

# Normal heights (PL-KRON86-NH) and ellipsoidal heights (PL-ETRF2000).
echo "$places" | cp1250 | crlf > "$work/BLH_n"
run --from BLH_n --from-frame PL-ETRF2000 --bl-in deg --bl-out dms
columns 7 < "$work/BLH_e.1" > "$work/BLH_e"

# BLH_GRS in PL-ETRF2000 is the source of every TRANS 2D/3D file.
cp "$work/BLH_e" "$work/BLH_GRS"
trans() {  # output name, zone options..., then the names of the places (or "all")
  local output=$1; shift
  local -a opts=(); while [[ $# -gt 0 && $1 == --* ]]; do opts+=("$1" "$2"); shift 2; done
  if [[ $1 == all ]]; then cp "$work/BLH_e" "$work/BLH_GRS"; else only "$@" < "$work/BLH_e" > "$work/BLH_GRS"; fi
  run --from BLH_GRS --from-frame PL-ETRF2000 --to "$output" --method theoretical "${opts[@]}"
}
trans BLH_GRS --to-frame PL-ETRF2000 all;                 columns 7 < "$work/BLH_GRS.1" > "$out/BLH_GRS"
trans XYZ_GRS --to-frame PL-ETRF2000 all;                 columns 3 < "$work/XYZ_GRS.1" > "$out/XYZ_GRS"
trans xy92 --to-frame PL-ETRF2000 all;                    columns 2 < "$work/xy92.1" > "$out/xy92"
trans xy2000 --to-frame PL-ETRF2000 --to-zone 21 Warszawa Kraków Lublin Rzeszów Kielce Zakopane Olsztyn
columns 2 < "$work/xy2000.1" > "$out/xy2000"
trans UTM --to-frame PL-ETRF2000 --to-zone 21 Warszawa Kraków Gdańsk Łódź Białystok Lublin Rzeszów \
  Kielce Zakopane Suwałki Katowice Olsztyn
columns 2 < "$work/UTM.1" > "$out/UTM"
trans xy65 --to-zone 1 Kraków Rzeszów Kielce Zakopane Lublin; columns 2 < "$work/xy65.1" > "$out/xy65"
trans xy42_3 --to-zone 18 Wrocław Poznań Gdańsk Łódź Katowice; columns 2 < "$work/xy42_3.1" > "$out/xy42_3"
trans xy42_6 --to-zone 15 Szczecin Wrocław Poznań Zielona_Góra; columns 2 < "$work/xy42_6.1" > "$out/xy42_6"
trans xy42_83_3 --to-zone 21 Warszawa Kielce Olsztyn Rzeszów Lublin
columns 2 < "$work/xy42_83_3.1" > "$out/xy42_83_3"
trans xy42_83_6 --to-zone 21 Warszawa Gdańsk Białystok Suwałki Katowice Kraków
columns 2 < "$work/xy42_83_6.1" > "$out/xy42_83_6"
trans xyTARVO80 all;                                      columns 2 < "$work/xyTARVO80.1" > "$out/xyTARVO80"
trans BLH_KRA all;                                        columns 7 < "$work/BLH_KRA.1" > "$out/BLH_KRA"
trans XYZ_KRA all;                                        columns 3 < "$work/XYZ_KRA.1" > "$out/XYZ_KRA"

# Heights: PL-KRON86-NH in degrees-minutes-seconds, the other datums from it.
cp "$work/BLH_n" "$work/BLH_K86"
run --from BLH_K86 --to BLH_K86 --bl-in deg --bl-out dms; columns 7 < "$work/BLH_K86.1" > "$out/BLH_K86"
cp "$out/BLH_K86" "$work/BLH_K86"
run --from BLH_K86 --to BLH_K2006;                        columns 7 < "$work/BLH_K2006.1" > "$out/BLH_K2006"
run --from BLH_K86 --to BLH_EVRF;                         columns 7 < "$work/BLH_EVRF.1" > "$out/BLH_EVRF"

# Quasigeoid: B, L only, ellipsoidal heights, normal heights (PL-KRON86-NH).
columns 6 < "$out/BLH_K86" > "$out/BL"
cp "$work/BLH_e" "$out/BLH_e"
cp "$out/BLH_K86" "$out/BLH_n"

# The decimal-degree object: every file with B L through an identity height job.
to_decimal() {  # file name
  cp "$out/$1" "$work/BLH_K86"
  run --from BLH_K86 --to BLH_K86 --bl-out deg
  columns 3 < "$work/BLH_K86.1" > "$decimal/$1"
}
for f in BLH_GRS BLH_KRA BLH_K86 BLH_K2006 BLH_EVRF BLH_e BLH_n; do to_decimal "$f"; done
columns 2 < "$decimal/BLH_n" > "$decimal/BL"

# The notes of both objects: what every file holds and which format to choose.
dms='B L w stopniach, minutach i sekundach'
deg='B L w stopniach dziesiętnych'
height_files() {  # the TRANS-H and quasigeoid files, B L described as $1
  cat <<EOF
Zbiory TRANS-H (B L w PL-ETRF2000)
  BLH_K86    PL-KRON86-NH, $1
  BLH_K2006  PL-KRON2006-NH, $1
  BLH_EVRF   PL-EVRF2007-NH, $1

Zbiory quasigeoidy (układ odniesienia PL-ETRF2000)
  BL         $1
  BLH_e      wysokości elipsoidalne, $1
  BLH_n      wysokości normalne (PL-KRON86-NH), $1
EOF
}
cp1250 <<EOF | crlf > "$out/notatnik.txt"
Obiekt przykładowy PRZYKLAD
===========================
Punkty to te same miejsca w całej Polsce (centra miast), zapisane w każdym
układzie. Punkty wyliczono metodą teoretyczną z listy B, L (PL-ETRF2000)
i wysokości normalnych (PL-KRON86-NH); wysokości elipsoidalne z quasigeoidy
siatki interpolacyjnej.

Format danych BL: we wszystkich zbiorach B L są zapisane w stopniach, minutach
i sekundach (np. Warszawa 52 13 54.84000 21 0 24.12000). Przed obliczeniami
wybierz format danych BL "[stopnie min sek]" (ustawienie domyślne programu).
Te same miejsca z B L w stopniach dziesiętnych są w obiekcie PRZYKLAD_STOPNIE.

Zbiory TRANS 2D/3D
  BLH_GRS    PL-ETRF2000, $dms, h elipsoidalna
  XYZ_GRS    PL-ETRF2000, współrzędne geocentryczne X Y Z
  xy92       PL-ETRF2000, PL-1992
  xy2000     PL-ETRF2000, PL-2000 strefa 7 (południk 21)
  UTM        PL-ETRF2000, PL-UTM strefa 34 (południk 21)
  xy65       Pułkowo'42, "1965" strefa 1
  xy42_3     Pułkowo'42, "1942" pas 3-stopniowy, południk 18
  xy42_6     Pułkowo'42, "1942" pas 6-stopniowy, południk 15
  xy42_83_3  Pułkowo'42, "1942/83" pas 3-stopniowy, południk 21
  xy42_83_6  Pułkowo'42, "1942/83" pas 6-stopniowy, południk 21
  xyTARVO80  Pułkowo'42, TARVO80
  BLH_KRA    Pułkowo'42, $dms, h elipsoidalna
  XYZ_KRA    Pułkowo'42, współrzędne geocentryczne X Y Z

$(height_files "$dms")
EOF
cp1250 <<EOF | crlf > "$decimal/notatnik.txt"
Obiekt przykładowy PRZYKLAD_STOPNIE
===================================
Te same miejsca co w obiekcie PRZYKLAD, tylko zbiory z B L, zapisanymi tu
w stopniach dziesiętnych.

Format danych BL: we wszystkich zbiorach B L są zapisane w stopniach
dziesiętnych (np. Warszawa 52.231900000 21.006700000). Przed obliczeniami
wybierz format danych BL "[stopnie]"; przy formacie "[stopnie min sek]"
punkty tych zbiorów są błędne.

Zbiory TRANS 2D/3D
  BLH_GRS    PL-ETRF2000, $deg, h elipsoidalna
  BLH_KRA    Pułkowo'42, $deg, h elipsoidalna

$(height_files "$deg")
EOF
