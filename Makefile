# Set-up, build and test in one place. Everything runs as root on Debian 12;
# missing packages are installed on first use.
SHELL := /bin/bash
BUILD ?= build
SAN_BUILD ?= build-sanitize
# The soaks' own sanitizer build: optimised and without the fuzz targets' coverage, so
# a long run takes a third of the time with the same checks.
SOAK_BUILD ?= build-soak
JOBS ?= $(shell nproc)
PACKAGES := cmake ninja-build g++ pkg-config libcairo2-dev libpango1.0-dev libsdl2-dev \
            libx11-dev libxext-dev \
            xvfb xauth xdotool wmctrl x11-utils x11-xserver-utils imagemagick fonts-wqy-microhei fonts-dejavu-core \
            xfonts-base openbox googletest libgtest-dev libbenchmark-dev \
            clang-14 libclang-rt-14-dev doxygen \
            libatk1.0-dev libatk-bridge2.0-dev at-spi2-core dbus python3 python3-pyatspi \
            libwayland-dev libdecor-0-dev libdecor-0-plugin-1-cairo libegl-mesa0 libgl1-mesa-dri weston

.PHONY: all deps configure build test test-unit test-sanitize demo docs package bench soak fuzz clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "installing:" $$missing; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test: test-unit test-sanitize

$(SAN_BUILD)/build.ninja: | deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DZZ_SANITIZE=ON -DZZ_BENCH=OFF

test-sanitize: $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	$(BUILD)/apps/zuzided-demo

# The HTML reference under out/docs (index.html); fails on undocumented public API.
docs: configure
	cmake --build $(BUILD) -j $(JOBS) --target docs

# The Debian package under out/package: apt install ./out/package/libzuzided-dev_*.deb
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	mkdir -p out
	ZZ_BENCH_SNAPSHOT=out/bench-frame.png ZZ_BENCH_S1_PNG=out/bench-s1.png \
	  ZZ_BENCH_S3_PNG=out/bench-s3.png \
	  $(BUILD)/bench/zuzided-bench --benchmark_counters_tabular=true
	bench/cold.sh $(BUILD)
	@echo "The measured frames: out/bench-frame.png, out/bench-s1.png, out/bench-s3.png"

$(SOAK_BUILD)/build.ninja: | deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(SOAK_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZZ_SANITIZE=ON -DZZ_FUZZ=OFF -DZZ_BENCH=OFF

# The soaks under a sanitizer build: RUNS runs from RUN, EVENTS events each, of SCENE
# (library: the whole library on the demo's kind of window; reentrancy: handlers that
# free what the host works on; both). A failure prints the scene, run and event that
# replay it.
SCENE ?= library
RUN ?= 1
RUNS ?= 1
EVENTS ?= 100000
soak: $(SOAK_BUILD)/build.ninja
	cmake --build $(SOAK_BUILD) -j $(JOBS) --target zuzided-soak
	env G_SLICE=always-malloc ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan.supp:print_suppressions=0 \
	  $(SOAK_BUILD)/tests/soak/zuzided-soak --scene $(SCENE) --run $(RUN) --runs $(RUNS) --events $(EVENTS)

# Every libFuzzer target of the sanitizer build for FUZZ_SECONDS each, one after the
# other, on its checked-in corpus; new inputs collect in out/fuzz/<target>/. A finding
# does not end a target's time: each crash, leak or broken round trip is kept as
# out/fuzz/<target>-crash-... (or -leak-, -timeout-, -oom-) and the run goes on, so one
# long run reports everything it finds. Fails at the end when anything was found.
FUZZ_SECONDS ?= 600
FUZZ_TARGETS := fuzz_form_reader:corpus fuzz_path_data:corpus-path fuzz_png:corpus-png \
                fuzz_properties:corpus-properties
fuzz: $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS) --target $(foreach t,$(FUZZ_TARGETS),$(firstword $(subst :, ,$(t))))
	@set -e; mkdir -p out/fuzz; stamp=out/fuzz/.started; touch $$stamp; \
	for t in $(FUZZ_TARGETS); do \
	  name=$${t%%:*}; corpus=$${t#*:}; mkdir -p out/fuzz/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  env G_SLICE=always-malloc ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan.supp:print_suppressions=0 \
	    $(SAN_BUILD)/fuzz/$$name -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
	    -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	    -max_len=65536 -timeout=10 -print_final_stats=1 \
	    -artifact_prefix=out/fuzz/$$name- out/fuzz/$$name fuzz/$$corpus 2>&1 | \
	    grep -E '^#[0-9]+:|^INFO: (fuzzed|exiting)|^stat::|ERROR|SUMMARY|artifact' || true; \
	done; \
	found=$$(find out/fuzz -maxdepth 1 -type f -newer $$stamp \( -name '*-crash-*' -o -name '*-leak-*' \
	         -o -name '*-timeout-*' -o -name '*-oom-*' \)); \
	if [ -n "$$found" ]; then echo "findings:"; echo "$$found"; exit 1; fi; echo "no findings"

clean:
	rm -rf $(BUILD) $(SAN_BUILD) out
