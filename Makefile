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

.PHONY: all deps deps-bench build run test test-unit test-asan test-tsan test-fuzz bench bench-app install package clean

all: build

deps:
	@scripts/install-deps.sh

deps-bench:
	@scripts/install-deps.sh --bench

$(BUILD)/build.ninja: CMakeLists.txt
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/tintwell

test: build test-unit test-asan test-tsan test-fuzz

test-unit: build
	ctest --test-dir $(BUILD) --output-on-failure

# The core and its tests again under AddressSanitizer and UBSan.
test-asan: deps
	cmake -S . -B $(BUILD)-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTINTWELL_WERROR=$(WERROR) \
	  -DTINTWELL_CORE_ONLY=ON -DTINTWELL_SANITIZE=ON
	cmake --build $(BUILD)-asan
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(BUILD)-asan --output-on-failure

# The sound system's threads and the colourings' background writer under
# ThreadSanitizer.
test-tsan: deps
	cmake -S . -B $(BUILD)-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTWELL_WERROR=$(WERROR) \
	  -DTINTWELL_CORE_ONLY=ON -DTINTWELL_TSAN=ON
	cmake --build $(BUILD)-tsan --target tintwell_core_tests tintwell_autosave_tests
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  $(BUILD)-tsan/tests/tintwell_core_tests --gtest_filter='*Sound*:*Audio*:*Mixer*:*Channel*'
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  $(BUILD)-tsan/tests/tintwell_autosave_tests

# A short bounded libFuzzer run over the image and picture file readers, the
# paint model, the INI reader and the language texts' formatting.
test-fuzz: deps
	CXX=clang++ cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTINTWELL_CORE_ONLY=ON -DTINTWELL_FUZZ=ON
	cmake --build $(BUILD)-fuzz
	tests/fuzz/run-fuzzers.sh $(BUILD)-fuzz $(FUZZ_SECONDS)

bench: deps-bench
	cmake -S . -B $(BUILD)-bench $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DTINTWELL_BENCH=ON
	cmake --build $(BUILD)-bench
	bench/run-benchmarks.sh $(BUILD)-bench

# Whole-program measurements (start-up against a peer, opening a picture,
# a stroke, memory, a fill from the keyboard) under a private Xvfb.
bench-app: deps deps-bench
	cmake -S bench/app -B $(BUILD)-benchapp $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release
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
