# Front door: every target installs what is missing first.
PRESETS ?= native asan win32
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all check demo bench fuzz bootstrap clean $(addprefix build-,$(PRESETS))

all: build-native

bootstrap:
	@scripts/bootstrap

build-%: bootstrap
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

# The plug-in checking a clean file and the anti-virus test file on Linux.
demo: bootstrap
	@scripts/demo

# Every test of every preset; the last line gives the totals.
check: bootstrap
	@scripts/check $(PRESETS)

bench: build-native
	@bench/run

# Each fuzz target for FUZZ_SECONDS (default 60).
FUZZ_SECONDS ?= 60
fuzz: bootstrap
	@cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTV_BUILD_TESTS=OFF -DTV_BUILD_FUZZ=ON >/dev/null
	@cmake --build build/fuzz -j $(JOBS)
	@for t in report_search profile_text command_line; do \
	  echo "== fuzz_$$t"; \
	  build/fuzz/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=4096 > build/fuzz/$$t.log 2>&1 \
	    || { tail -n 40 build/fuzz/$$t.log; exit 1; }; \
	  grep DONE build/fuzz/$$t.log; \
	done

clean:
	rm -rf build
