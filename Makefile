# The whole set-up and every routine job. `make demo` and `make test` install what is missing.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30
WERROR     ?= OFF
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all deps build test test-asan demo bench lint format fuzz clean install package package-check

all: build

deps:
	@bash tools/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIRVENDAL_WERROR=$(WERROR) $(CMAKE_ARGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer, leak checks on.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTIRVENDAL_SANITIZE=ON \
	  -DTIRVENDAL_BENCH=OFF -DTIRVENDAL_WERROR=$(WERROR) $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp \
	  QT_QPA_PLATFORM=offscreen ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The libFuzzer targets, built with clang, each run for FUZZ_SECONDS on its seed corpus
# (tests/fuzz/corpus/TARGET); what they find is written to $(FUZZ_BUILD)/findings and fails the job.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DTIRVENDAL_FUZZ=ON -DTIRVENDAL_BENCH=OFF -DTIRVENDAL_WERROR=$(WERROR) $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target FormReaderFuzz ScriptedUserFuzz
	@bash tools/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) FormReaderFuzz ScriptedUserFuzz

# Installs into PREFIX (default /usr/local): designhost, its libraries, the man page and the
# bash completion.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package of the same files, under $(BUILD).
package: build
	cmake --build $(BUILD) --target package

# The package built, checked by lintian (no error, no warning allowed), unpacked into a scratch
# root and run from there.
package-check: build
	@bash tools/package-check.sh $(BUILD)

demo: build
	@bash tools/demo.sh $(BUILD)

bench: build
	@bash tools/bench.sh $(BUILD)

lint: deps $(BUILD)/build.ninja
	@bash tools/lint.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
