# make        build everything into build/ (the game folder is build/game/)
# make play   install what is missing, build the game, the runner and the game files, play
# make test   the same set-up (with the browser build's), the formatting of every C++ source, then
#             every test, plain and under ASan/UBSan, the golden replays once more with a Clang
#             build of the runner, and the browser build with its test in headless chromium
# make format reformat every C++ source in place
# make bench  the frame-work benchmark
# make install PREFIX=DIR   build, then install into DIR (default /usr/local)
# make package  build, then the Debian package $(BUILD)/cinder-arc.deb (installs into /usr)
# make web    the game for the browser in $(WEB_BUILD)/site (emscripten; SDL2 built once into
#             $(WEB_BUILD)/sdl); make web-serve serves it on 127.0.0.1:8375; make web-test builds
#             and tests it in headless chromium (make test does too)
# make fuzz   every fuzz target for FUZZ_SECONDS (180) each, built with Clang's libFuzzer
BUILD ?= build
ASAN_BUILD ?= build-asan
CLANG_BUILD ?= build-clang
FUZZ_BUILD ?= build-fuzz
WEB_BUILD ?= build-web
WEB_PORT ?= 8375
FUZZ_SECONDS ?= 180
# The short run of each fuzz target inside make test.
TEST_FUZZ_SECONDS ?= 20
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX ?= /usr/local
WERROR := $(if $(CI),ON,OFF)

.PHONY: all build play test setup setup-test format format-check bench install package fuzz fuzz-build clean \
  web web-serve web-test

all: build

# Every C++ source of the game, its tools, tests and benchmark (.clang-format says how).
CXX_SOURCES = $(sort $(shell find core engine frontend player enemies tools tests bench web \( -name '*.cpp' -o -name '*.h' \) \
  -not -path '*/node_modules/*'))

CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCINDER_WERROR=$(WERROR)

build:
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS)

setup:
	bash scripts/setup.sh

setup-test:
	bash scripts/setup.sh test

# Only what playing needs (the game and the runner pull in the generator and its files): a first
# start does not wait for the tests and the benchmark to compile.
play: setup
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS) --target cinder-arc cinder-arc-sim
	cd $(BUILD)/game && ./cinder-arc

# First, as it takes seconds: a source that is not formatted fails the run before the builds.
format-check:
	@echo "clang-format: checking $(words $(CXX_SOURCES)) sources"
	@clang-format --dry-run -Werror $(CXX_SOURCES)

format:
	clang-format -i $(CXX_SOURCES)

test: setup-test
	$(MAKE) format-check
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	# The Debian package: lint, install, play from elsewhere, remove (installing needs root).
	cd $(BUILD) && cpack -G DEB > cpack.log || { cat cpack.log; exit 1; }
	bash tests/package/deb.sh $(BUILD)/cinder-arc.deb
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCINDER_SANITIZE=ON -DCINDER_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS)
	# Replays must play the same whatever the compiler: the golden replays again with Clang.
	cmake -S . -B $(CLANG_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCINDER_WERROR=$(WERROR)
	cmake --build $(CLANG_BUILD) -j$(JOBS) --target cinder-arc-sim
	bash tests/e2e/golden_replays.sh $(CLANG_BUILD)/game $(CURDIR)
	$(MAKE) fuzz-build
	bash scripts/fuzz.sh $(FUZZ_BUILD) $(TEST_FUZZ_SECONDS)
	# The game in a web page: built with emscripten (SDL2 from Debian's sources, once into
	# $(WEB_BUILD)/sdl), then played in headless chromium.
	$(MAKE) web-test

fuzz-build:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCINDER_FUZZ=ON -DCINDER_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

fuzz: setup-test fuzz-build
	bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench:
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS) --target cinder-arc-bench
	$(BUILD)/bench/cinder-arc-bench
	cmake --build $(BUILD) -j$(JOBS) --target cinder-arc-sim
	bash bench/golden_game.sh $(BUILD)/game

# Only the two programs, the game files, the icons and the texts go into the package; the tests
# need not be built.
package:
	bash scripts/setup.sh package
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS) --target cinder-arc cinder-arc-sim game_icons package_docs
	cd $(BUILD) && cpack -G DEB
	@echo "package: $(BUILD)/cinder-arc.deb"

install: setup build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The browser build: the game files come from the desktop build's generator.
web:
	bash scripts/setup.sh web
	bash web/build.sh $(CURDIR) $(BUILD) $(WEB_BUILD) $(JOBS)

web-serve: web
	node web/serve.mjs $(WEB_BUILD)/site "" $(WEB_PORT)

# The golden replays in the page are compared with the desktop runner's results.
web-test: web
	cmake --build $(BUILD) -j$(JOBS) --target cinder-arc-sim
	node web/test/browser_test.mjs $(WEB_BUILD) $(CURDIR)/tests/golden $(CURDIR)/$(BUILD)/game/cinder-arc-sim

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(CLANG_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
