#!/usr/bin/env bash
# make-archives.sh OUT: makes the archives the unzip32 tests read, with the real zip tool, from a small
# tree of files (OUT/tree) that the tests compare the extracted files with.
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"

mkdir -p tree/docs/deep/er tree/data tree/hollow
printf 'Read me first.\r\n' > tree/readme.txt
seq -f 'line %g of the manual, long enough to deflate well' 1 2000 > tree/docs/manual.txt
printf 'deep down\n' > tree/docs/deep/er/most.txt
head -c 100000 /dev/urandom > tree/data/random.bin
: > tree/data/empty.dat
printf 'blank in the name\n' > 'tree/with blank.txt'
seq 1 200000 > tree/big.txt                # inflates through several buffers
head -c 600000 /dev/urandom > tree/big.bin # does not deflate, so zip stores it
members=(readme.txt docs data hollow 'with blank.txt' big.txt big.bin)
(cd tree && zip -q -r -X ../deflated.zip "${members[@]}")
(cd tree && zip -q -r -X -0 ../stored.zip "${members[@]}")
(cd tree && zip -q -r -X -D ../nofolders.zip "${members[@]}")

# Self-extracting: a program stub in front, with the offsets adjusted to count it (-A) and without.
{ printf 'MZ'; head -c 6000 /dev/zero; } > stub.bin
cat stub.bin deflated.zip > sfx.exe
zip -q -A sfx.exe
cat stub.bin deflated.zip > sfx_raw.exe

# "../" names, as zip stores them when given from a nested folder.
mkdir -p nest/a/b
echo outside > nest/outside.txt
echo inside > nest/a/b/inside.txt
(cd nest/a/b && zip -q -X ../../../dotdot.zip ../../outside.txt inside.txt)

# A name the tests rewrite into absolute, drive and other unsafe forms of the same length.
mkdir -p patch/pppppppppppp
echo evil > patch/pppppppppppp/evil.txt
echo safe > patch/safe.txt
(cd patch && zip -q -X -D ../patchme.zip pppppppppppp/evil.txt safe.txt)

# An encrypted member beside a plain one.
(cd tree && zip -q -X -P secret ../crypt.zip readme.txt && zip -q -X ../crypt.zip docs/manual.txt)

# An update: stored and deflated members, an empty one, one of several blocks, one in a deep folder.
(cd tree && zip -q -X ../update.zip readme.txt docs/manual.txt data/empty.dat big.bin docs/deep/er/most.txt)

# One large member to damage (deflated, stored) beside a small one that must survive.
(cd tree && zip -q -X ../damage.zip big.txt readme.txt)
(cd tree && zip -q -X -0 ../damage0.zip big.bin readme.txt)

# A comment holding an end-record signature.
(cd tree && printf 'note PK\005\006 inside the comment\n' | zip -q -X -z ../comment.zip readme.txt)

# No members at all: zip leaves an empty archive when its last member is deleted.
(cd tree && zip -q -X ../empty.zip readme.txt && zip -q -d ../empty.zip readme.txt) || true
touch .done
