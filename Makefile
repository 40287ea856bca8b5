# Front door: every target installs what is missing first.
# "fuzz" stands for the fuzz targets, built and run a few seconds each; "dist"
# for the release archive, made from the two Windows builds and tested.
PRESETS ?= native asan tsan win32 win64 dist fuzz
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all check demo bench fuzz dist bootstrap bootstrap-demo clean

all: build-native

bootstrap:
	@scripts/bootstrap check

bootstrap-demo:
	@scripts/bootstrap demo

build-%: bootstrap
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

# The plug-in checking a clean file and the anti-virus test file on Linux.
demo: bootstrap-demo
	@scripts/demo

# Every test of every preset; the last line gives the totals.
check: bootstrap
	@scripts/check $(PRESETS)

# The release archive dist/tevrinVexal-VERSION.zip and dist/SHA256SUMS.
dist: build-win32 build-win64
	@scripts/dist

bench: build-native
	@bench/run

# Each fuzz target for FUZZ_SECONDS (default 60).
FUZZ_SECONDS ?= 60
fuzz: bootstrap
	@scripts/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build dist
