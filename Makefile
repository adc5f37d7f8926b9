# Front door: every target installs what is missing first.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all bootstrap test-bootstrap build test sanitize fuzz fuzz-long demo bench clean package docs

all: build

bootstrap:
	scripts/bootstrap

# The tests also open saved documents in LibreOffice and reports in Chromium, and show
# the dialogs on an Xvfb server.
test-bootstrap:
	scripts/bootstrap --office --browser --gui

build: bootstrap
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

test: test-bootstrap build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: test-bootstrap
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFOLIO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS (35 by default) from its seed corpus, then the
# whole-file readers on inputs up to 1 MB; limits per input in scripts/fuzz.
fuzz: bootstrap
	scripts/fuzz build-fuzz

# Hours, outside CI: each target to 10 million executions; prints executions and coverage.
fuzz-long: bootstrap
	scripts/fuzz --long build-fuzz

# Builds the command-line host and renders the bundled examples into ./out/.
demo: bootstrap
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target folio_cli
	$(BUILD)/bin/folio demo

# The Debian package (build/folio_*.deb) and the API reference (build/docs/html).
package: build
	cmake --build $(BUILD) --target package

docs: bootstrap
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target docs

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
