# Entry points for people and CI. Everything builds in build/ (and
# build-asan/, build-tsan/, build-fuzz/ for the sanitizer suites and the
# fuzzers) with two jobs.
BUILD    ?= build
JOBS     ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build test test-asan asan-configure asan-suite test-tsan demo bench fuzz package \
  test-system clean

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# make test: the whole suite on build/ (GCC), then the tests of the store,
# the service, the walk, the robustness checks, the colour filter and every
# fuzz smoke once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# built with clang
# (build-asan, only the targets they need), so that both compilers build the
# plug-in's code and the service's on every run. The long soak (label soak)
# is left out; `cd build && ctest -L soak` runs it.
ASAN_TESTS = profilelist_tests test_service_arguments test_service_requests \
  test_service_attacks test_service_concurrency test_spool_restructure \
  test_mib_walk_fake_agent test_mib_walk_snmpsim robust_file_faults \
  robust_crash_consistency robust_bad_devices robust_soak_short \
  fuzz_argument_strings_smoke fuzz_service_frames_smoke fuzz_list_reader_smoke \
  fuzz_walk_store_smoke fuzz_nibble_text_smoke fuzz_ppd_table_smoke filter_test
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
empty :=
space := $(empty) $(empty)
ASAN_REGEX = ^($(subst $(space),|,$(strip $(ASAN_TESTS))))$$

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE soak
	@$(MAKE) --no-print-directory asan-suite

ASAN_COMPILERS = -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
asan-configure: deps
	@cmake -S . -B build-asan $(ASAN_COMPILERS) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRX_SANITIZE=ON -DRX_BUILD_BENCH=OFF >/dev/null

asan-suite: asan-configure
	@cmake --build build-asan -j$(JOBS) --target $(ASAN_TESTS)
	@cd build-asan && $(SANITIZER_ENV) ctest --output-on-failure -j$(JOBS) -R '$(ASAN_REGEX)'

# The whole suite under ASan/UBSan, then the service's concurrency tests under
# ThreadSanitizer.
test-asan: asan-configure
	@cmake --build build-asan -j$(JOBS)
	@cd build-asan && $(SANITIZER_ENV) ctest --output-on-failure -j$(JOBS) -LE soak
	@$(MAKE) --no-print-directory test-tsan

TSAN_TESTS = test_service_concurrency robust_soak_short test_service_shared_exchanges
test-tsan: deps
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRX_TSAN=ON -DRX_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-tsan -j$(JOBS) --target $(TSAN_TESTS)
	@cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 RX_SOAK_SECONDS=10 \
	  ctest --output-on-failure -R '^(test_service_concurrency|robust_soak_short|test_service_shared_exchanges)$$'

# libFuzzer programs built with clang in build-fuzz, each run for FUZZ_TIME
# seconds on a copy of its seed corpus (new inputs stay in build-fuzz).
FUZZ_TIME ?= 60
FUZZERS = fuzz_argument_strings fuzz_service_frames fuzz_list_reader fuzz_walk_store \
  fuzz_nibble_text fuzz_ppd_table
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRX_FUZZ=ON \
	  -DRX_WERROR=OFF -DRX_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-fuzz -j$(JOBS) --target $(FUZZERS)
	@set -e; for f in $(FUZZERS); do \
	  mkdir -p build-fuzz/corpus/$$f build-fuzz/findings/$$f; \
	  cp -n tests/fuzz/corpus/$$f/* build-fuzz/corpus/$$f/ 2>/dev/null || true; \
	  echo "== $$f ($(FUZZ_TIME) s)"; \
	  (cd build-fuzz/findings/$$f && RX_TEST_ROOT=$(CURDIR)/build-fuzz/test-roots/$$f \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/fuzz/lsan.supp \
	    ../../tests/fuzz/$$f -max_total_time=$(FUZZ_TIME) -timeout=10 -rss_limit_mb=2048 \
	    -print_final_stats=1 ../../corpus/$$f) 2>&1 | tail -n 12; \
	done

# The Debian package, built in a tree of its own without the tests, with
# warnings not fatal and with Debian's hardened build flags (stack
# protector, fortified functions, read-only relocations bound at start):
# $(BUILD)/package-build/package/rx8240-driver_VERSION_ARCH.deb
PACKAGE_BUILD = $(BUILD)/package-build
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps
	@cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_C_FLAGS="$$($(DEB_FLAGS) CFLAGS) $$($(DEB_FLAGS) CPPFLAGS)" \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CXXFLAGS) $$($(DEB_FLAGS) CPPFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" \
	  -DCMAKE_MODULE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" \
	  -DRX_BUILD_TESTS=OFF -DRX_WERROR=OFF >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j$(JOBS)
	@cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/package/*.deb

# The package on a booted Debian 12 with systemd as PID 1 (systemd-nspawn):
# installed with apt, used as an administrator and two users would, removed,
# reinstalled, purged (scripts/test-system). Needs root and namespaces;
# where they are missing it says so, builds nothing and succeeds.
test-system:
	@status=0; ./scripts/test-system --can-run || status=$$?; \
	if [ $$status -eq 0 ]; then $(MAKE) --no-print-directory package && ./scripts/test-system $(BUILD); \
	elif [ $$status -ne 3 ]; then exit $$status; fi

# The demo builds only the programs it runs; `make build` and `make test`
# build everything but the benchmarks (`make bench` builds those).
demo: configure
	@cmake --build $(BUILD) -j$(JOBS) --target demo_programs
	@./scripts/demo $(BUILD)

bench: configure
	@cmake --build $(BUILD) -j$(JOBS) --target bench_programs
	@./scripts/bench $(BUILD)

clean:
	@for tree in $(BUILD) build-asan build-tsan build-fuzz; do \
	  if [ -L $$tree/test-roots ]; then rm -rf "$$(readlink $$tree/test-roots)"; fi; done
	rm -rf $(BUILD) build-asan build-tsan build-fuzz
