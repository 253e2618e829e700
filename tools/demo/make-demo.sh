#!/bin/sh
# Builds the demo distribution medium:
#   make-demo.sh OUT SETUP_EXE UNZIP_DLL STANDIN_DIR ICON_DIR [DATAGEN COMMAND...]
# OUT receives SetUp.EXE, UnZip32.DLL, the stand-in installer Install.EXE, the WIN folder (the three
# icons and the stand-in driver set-up SetUpNT.EXE) and VEXA_1.ZIP .. VEXA_6.ZIP. The packages hold
# a small KORVO tree: InitDat\Version.DAT, the stand-ins of VEXA.EXE and PCICONF.EXE, two documents and
# sample data files of every kind, written by the sample-data generator when a command for it is given.
set -eu
out="$1"
setup="$2"
unzipdll="$3"
standins="$4"
icons="$5"
shift 5

stage="$out.stage"
rm -rf "$out" "$stage"
mkdir -p "$out/WIN"
cp "$setup" "$out/SetUp.EXE"
cp "$unzipdll" "$out/UnZip32.DLL"
cp "$standins/Install.EXE" "$out/Install.EXE"
cp "$standins/SetUpNT.EXE" "$out/WIN/SetUpNT.EXE"
for icon in Vexa VexaCmd VexaAsc; do cp "$icons/$icon.ICO" "$out/WIN/$icon.ICO"; done

# text FILE LINE...: a text file of CR LF lines.
text() {
  file="$1"
  shift
  mkdir -p "$(dirname "$file")"
  printf '%s\r\n' "$@" >"$file"
}

# Package 1: the version file and the programs of the tree.
text "$stage/VEXA_1/InitDat/Version.DAT" "4.00" "15.03.1999"
mkdir -p "$stage/VEXA_1/Prg" "$stage/VEXA_1/Install"
cp "$standins/VEXA.EXE" "$stage/VEXA_1/Prg/VEXA.EXE"
cp "$standins/PCICONF.EXE" "$stage/VEXA_1/Install/PCICONF.EXE"

# Package 2: the documents.
text "$stage/VEXA_2/Doc/StartOpt.DOC" \
  "VEXA start options" \
  "" \
  "sim      run without measurement hardware (simulation)" \
  "test     test run; writes the report Doc\\Start.REP" \
  "SIM      the simulation, as the program folder's shortcut starts it" \
  "" \
  "Type the option in the field of the command-line page and press Run."
text "$stage/VEXA_2/Doc/ReadMe.TXT" \
  "VEXA 4.0 demo tree" \
  "" \
  "This tree was installed from the demo medium of SetUp.EXE. Its programs are" \
  "stand-ins that only log how they were started; the data files in" \
  "Install\\Data are generated samples of every kind (K, Y, P, T, V, A, Q) for the" \
  "ASCII converter, which lists the DATA folder beside its own folder at first."

# Packages 3 to 6: sample data files of every kind, in KORVO\Install\Data: the DATA folder beside
# KORVO\Install\Win, where the converter of the installed SetUp.EXE looks first.
for i in 3 4 5 6; do mkdir -p "$stage/VEXA_$i/Install/Data"; done
if [ $# -gt 0 ]; then
  sample() { # package, file name, generator options
    dir="$stage/VEXA_$1/Install/Data"
    name="$2"
    shift 2
    (cd "$dir" && "$@" "$name" >/dev/null)
  }
  sample 3 MEAS.K01 "$@" -k K -n 200
  sample 3 OLDMEAS.K02 "$@" -k K -v 18 -n 100
  sample 3 SWEEP.Y01 "$@" -k Y -n 300
  sample 4 PULSE.P01 "$@" -k P -n 20
  sample 4 TEMP.T01 "$@" -k T -n 20 --attachment
  sample 5 VOLT.V01 "$@" -k V -n 20
  sample 5 ARRAY.A01 "$@" -k A -n 3
  sample 6 CRYO.Q01 "$@" -k Q -n 100
else
  # No sample-data generator in this build yet: the packages say so instead of carrying data.
  for i in 3 4 5 6; do
    text "$stage/VEXA_$i/Install/Data/NoData$i.TXT" "Sample data files come with the sample-data generator."
  done
fi

for i in 1 2 3 4 5 6; do
  (cd "$stage/VEXA_$i" && zip -q -r -X "$out/VEXA_$i.ZIP" .)
done
rm -rf "$stage"
