# The two commands of the README: `make test` and `make run`. Everything they need is installed here.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
CTEST_ARGS ?=

ARGS ?=

.PHONY: test run deps configure build build-native build-win32 build-fuzz bench clean

deps:
	@scripts/install-deps.sh

build/native/CMakeCache.txt: | deps
	cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo

build/win32/CMakeCache.txt: | deps
	cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake

build/fuzz/CMakeCache.txt: | deps
	cmake -S . -B build/fuzz -DSETUP_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

configure: build/native/CMakeCache.txt build/win32/CMakeCache.txt build/fuzz/CMakeCache.txt

build-native: build/native/CMakeCache.txt
	cmake --build build/native -j $(JOBS)

build-win32: build/win32/CMakeCache.txt
	cmake --build build/win32 -j $(JOBS)

build-fuzz: build/fuzz/CMakeCache.txt
	cmake --build build/fuzz -j $(JOBS)

build: build-native build-win32 build-fuzz

# One ctest run over the three builds, so the summary at the end covers every test.
test: build
	@printf 'subdirs("native" "win32" "fuzz")\n' > build/CTestTestfile.cmake
	ctest --test-dir build --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# Builds everything and starts SetUp.EXE of the demo medium under Wine in its own prefix
# (build/demo/wineprefix): the installation page first, the installed copy's set-up panel once it is
# installed; ARGS=CMD or ARGS=ASC start those modes of the installed copy. Without a display it runs on
# Xvfb and saves a screenshot in build/screens/run.png.
run: build-native build-win32
	tools/demo/run.sh $(ARGS)

# Benchmarks, not timed tests: each adds its own target to bench.
bench: bench-zip bench-convert bench-walk bench-http bench-plot bench-python

.PHONY: bench-zip
bench-zip: build/bench/CMakeCache.txt # extraction speed of UnZip32.DLL's reader against Info-ZIP unzip
	JOBS=$(JOBS) tools/bench/zip_bench.sh

# Conversion speed of vexaconv against numpy and plain to_chars/from_chars loops, in a release build
# without sanitizers.
build/bench/CMakeCache.txt: | deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSETUP_SANITIZE=OFF

.PHONY: bench-walk
bench-walk: build/bench/CMakeCache.txt build/win32/CMakeCache.txt # the file tools' walk against find, natively and under Wine
	JOBS=$(JOBS) tools/bench/walk_bench.sh

.PHONY: bench-convert
bench-convert: build/bench/CMakeCache.txt
	cmake --build build/bench -j $(JOBS) --target vexaconv datagen convbench
	/usr/bin/python3 tools/bench/convbench.py build/bench

.PHONY: bench-http
bench-http: build-win32 # a 500 MB loopback download by the HTTP client under Wine against curl
	tools/bench/http_bench.sh

# Chart speed of vexaconv --plot against numpy's fromfile and per-pixel minimum and maximum.
.PHONY: bench-plot
bench-plot: build/bench/CMakeCache.txt
	cmake --build build/bench -j $(JOBS) --target vexaconv datagen
	/usr/bin/python3 tools/bench/plotbench.py build/bench

# vexafile's records() and to_numpy() against numpy's fromfile with a hand-written dtype and against
# vexaconv to Col ASCII + numpy's loadtxt, with the peak memory of each; the package is installed into
# build/bench/py/venv.
.PHONY: bench-python
bench-python: build/bench/CMakeCache.txt
	cmake --build build/bench -j $(JOBS) --target vexaconv datagen
	python/venv.sh build/bench/py
	build/bench/py/venv/bin/python tools/bench/pybench.py build/bench

clean:
	rm -rf build
