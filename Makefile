# Front door: every target installs what is missing first.
PRESETS ?= native asan win32
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all check bench bootstrap clean $(addprefix build-,$(PRESETS))

all: build-native

bootstrap:
	@scripts/bootstrap

build-%: bootstrap
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

# Every test of every preset; the last line gives the totals.
check: bootstrap
	@scripts/check $(PRESETS)

bench: build-native
	@bench/run

clean:
	rm -rf build
