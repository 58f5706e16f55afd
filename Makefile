# Tintwell: the two everyday commands are `make run` and `make test`; both
# install what is missing and build first.

BUILD       ?= build
BUILD_TYPE  ?= RelWithDebInfo
PREFIX      ?= /usr/local
FUZZ_SECONDS ?= 60
# CI builds treat warnings as errors.
ifdef CI
WERROR := ON
else
WERROR ?= OFF
endif

CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTINTWELL_WERROR=$(WERROR)

# Configures a build folder ($(1)) from a source folder ($(3), the top one
# when left out) with flags ($(2)) unless it was last
# configured with exactly these, so that a later CI=1, WERROR=ON or
# BUILD_TYPE=... always takes effect. Ninja reconfigures by itself when the
# CMake files change.
define configure
	@if [ ! -f $(1)/build.ninja ] || [ "$$(cat $(1)/tintwell-flags 2>/dev/null)" != "$(2)" ]; then \
	  echo "Configuring $(1): $(2)"; \
	  cmake -S $(or $(3),.) -B $(1) $(2) && echo "$(2)" > $(1)/tintwell-flags; \
	fi
endef

.PHONY: all deps deps-test deps-bench build build-tests run test test-unit test-asan test-tsan \
	test-fuzz bench bench-app install package clean

all: build

# Building and running needs only the first set of packages; the tests and
# benchmarks add theirs.
deps:
	@scripts/install-deps.sh

deps-test:
	@scripts/install-deps.sh --test

deps-bench:
	@scripts/install-deps.sh --bench

# The program and its tools; the tests are built where GoogleTest is there.
build: deps
	$(call configure,$(BUILD),$(CMAKE_FLAGS) -DTINTWELL_TESTS=AUTO)
	cmake --build $(BUILD) --target tintwell tintwell-picture tintwell-config

# Everything, the tests included.
build-tests: deps deps-test
	$(call configure,$(BUILD),$(CMAKE_FLAGS) -DTINTWELL_TESTS=ON)
	cmake --build $(BUILD)

run: build
	$(BUILD)/tintwell

test: build-tests test-unit test-asan test-tsan test-fuzz

test-unit: build-tests
	ctest --test-dir $(BUILD) --output-on-failure

# The core and its tests again under AddressSanitizer and UBSan.
test-asan: deps deps-test
	$(call configure,$(BUILD)-asan,-G Ninja -DCMAKE_BUILD_TYPE=Debug -DTINTWELL_WERROR=$(WERROR) -DTINTWELL_CORE_ONLY=ON -DTINTWELL_SANITIZE=ON)
	cmake --build $(BUILD)-asan
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(BUILD)-asan --output-on-failure

# The sound system's threads and the colourings' background writer under
# ThreadSanitizer.
test-tsan: deps deps-test
	$(call configure,$(BUILD)-tsan,-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTWELL_WERROR=$(WERROR) -DTINTWELL_CORE_ONLY=ON -DTINTWELL_TSAN=ON)
	cmake --build $(BUILD)-tsan --target tintwell_core_tests tintwell_autosave_tests
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  $(BUILD)-tsan/tests/tintwell_core_tests --gtest_filter='*Sound*:*Audio*:*Mixer*:*Channel*'
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  $(BUILD)-tsan/tests/tintwell_autosave_tests

# A short bounded libFuzzer run over the readers, the paint model's action
# sequences, the INI reader and the language texts' formatting.
test-fuzz: deps deps-test
	$(call configure,$(BUILD)-fuzz,-G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTWELL_WERROR=$(WERROR) -DTINTWELL_CORE_ONLY=ON -DTINTWELL_FUZZ=ON)
	cmake --build $(BUILD)-fuzz
	tests/fuzz/run-fuzzers.sh $(BUILD)-fuzz $(FUZZ_SECONDS)

bench: deps deps-bench
	$(call configure,$(BUILD)-bench,$(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DTINTWELL_BENCH=ON -DTINTWELL_TESTS=OFF)
	cmake --build $(BUILD)-bench
	bench/run-benchmarks.sh $(BUILD)-bench

# Whole-program measurements (start-up against a peer, opening a picture,
# a stroke, memory, a fill from the keyboard) under a private Xvfb.
bench-app: deps deps-test deps-bench
	$(call configure,$(BUILD)-benchapp,$(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release,bench/app)
	cmake --build $(BUILD)-benchapp
	bench/app/run-bench-app.sh $(BUILD)-benchapp

# DESTDIR stages the installation under another root (cmake --install reads
# it from the environment).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, installed under /usr: $(BUILD)/tintwell_<version>_<arch>.deb.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-tsan $(BUILD)-fuzz $(BUILD)-bench $(BUILD)-benchapp
