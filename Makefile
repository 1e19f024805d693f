# The two set-up commands: `make demo` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= 2
# A unity build: a clean build (CI's, a first `make test`) compiles about 40 % less. A developer's
# own build folder without it keeps rebuilds to the files changed.
UNITY = -DCMAKE_UNITY_BUILD=ON
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo $(UNITY)

.PHONY: all deps configure build test demo bench clean format fuzz test-asan test-tsan package \
  test-package

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The Debian package in the build folder; the check of one built into a temporary folder, which
# `make test` runs too.
package: build
	@cmake --build $(BUILD) --target package

test-package: build
	@cd $(BUILD) && ctest --output-on-failure -L package

# Sanitizer builds, each in its own folder, without the window or the benchmarks.
SAN_FLAGS = -O1 -g1 -fno-omit-frame-pointer
ASAN_CXXFLAGS = $(SAN_FLAGS) -fsanitize=address,undefined -fno-sanitize-recover=all
TSAN_CXXFLAGS = $(SAN_FLAGS) -fsanitize=thread
# The tests that run threads (batches over libcurl multi, the servers, the Session's fetches, a
# Cancel from another thread, trotix-cli's Ctrl+C watch), two at a time: their time-outs are
# scaled for the race detector, which leaves room for a second test. The systems' demo-history
# test (90 s under the race detector) runs the same worker and fetches as session_demo_test; run
# it with `make test-tsan TSAN_TESTS=session_systems_test` after changing it.
TSAN_TESTS ?= net_http_test session_test session_demo_test session_zorvat_test \
  vendorsim_server_test fault_matrix_test exchange_indicator_parallel_test archive_test \
  session_archive_test hostile_settlement_test cli_test
empty :=
space := $(empty) $(empty)

test-asan: deps
	@cmake -S . -B build-asan -G Ninja -DTROTIX_GUI=OFF -DTROTIX_BENCH=OFF -DCMAKE_BUILD_TYPE= $(UNITY) \
	  -DCMAKE_CXX_FLAGS="$(ASAN_CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	@cmake --build build-asan -j$(JOBS)
	@cd build-asan && TROTIX_TIMEOUT_SCALE=3 ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j$(JOBS)

test-tsan: deps
	@cmake -S . -B build-tsan -G Ninja -DTROTIX_GUI=OFF -DCMAKE_BUILD_TYPE= $(UNITY) \
	  -DCMAKE_CXX_FLAGS="$(TSAN_CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
	@cmake --build build-tsan -j$(JOBS) --target $(TSAN_TESTS)
	@cd build-tsan && TROTIX_TIMEOUT_SCALE=5 \
	  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp \
	  ctest --output-on-failure -j$(JOBS) -R '^($(subst $(space),|,$(strip $(TSAN_TESTS))))$$'

# libFuzzer targets under clang; FUZZ_SECONDS and FUZZ_RUNS bound each target.
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?= 1000000
fuzz:
	@scripts/install-deps clang libclang-rt-dev
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTROTIX_FUZZ=ON \
	  -DTROTIX_GUI=OFF -DTROTIX_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build-fuzz --target fuzzers -j$(JOBS)
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS) $(FUZZ_RUNS)

demo: build
	@$(BUILD)/src/gui/trotix --demo

bench: build
	@$(BUILD)/bench/trotix-bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD)
