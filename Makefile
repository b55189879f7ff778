# make run   - install what is missing, build, play the default game
# make test  - install what is missing, build, run every test (in CI, also `make asan`)
# make bench - install what is missing, build and run the benchmarks
# make asan  - the test suite built with AddressSanitizer and UBSan
# make fuzz  - the fuzz targets built with clang's libFuzzer, each run FUZZ_SECONDS
# make lint  - the format check (clang-format) and clang-tidy over src/ and tools/
# make web   - the engine as a web page in build-web/ playing the default game
#              (GAME=path.tgp for another package); its libraries are built once from
#              Debian's sources into WEB_CACHE
# make web-test - the web page checked in headless Chromium
# make deb   - the Debian package (debian/, debhelper) in build-deb/, lintian-checked

BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

PACKAGES := build-essential cmake pkg-config clang zip unzip \
	libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libsdl2-image-dev \
	libzip-dev libjpeg62-turbo-dev libjpeg-turbo-progs libfontconfig-dev timgm6mb-soundfont sox \
	fonts-wine fonts-dejavu-core googletest libgtest-dev libgmock-dev libbenchmark-dev \
	libtomlplusplus-dev libspeechd-dev speech-dispatcher espeak-ng clang-format clang-tidy ccache git p7zip-full libarchive-tools \
	xvfb desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl \
	debhelper lintian fakeroot dpkg-dev

.PHONY: all deps configure build run test bench asan fuzz lint install deb clean web web-test

PREFIX ?= /usr/local

all: build

# Installs the Debian packages that are missing; does nothing when all are present.
deps:
	@missing=""; for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		if [ "$$(id -u)" = 0 ]; then \
			echo "Installing:$$missing"; \
			apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
		else \
			echo "Missing packages:$$missing (run as root, or: sudo apt-get install$$missing)"; exit 1; \
		fi; \
	fi

# Compiles go through ccache, whose cache (~/.cache/ccache) lives outside the checkout,
# so that a second build of the same sources takes seconds.
LAUNCHER := -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR ?= $(CURDIR)

configure: deps
	@cmake -S . -B $(BUILD) $(LAUNCHER) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		$(BUILD)/zelkin; \
	else \
		echo "zelkin needs a display to open its window (set DISPLAY, or start Xvfb)."; \
		echo "Without one, run it headless, for instance:"; \
		echo "  $(BUILD)/zelkin --headless --frames 100"; \
		$(BUILD)/zelkin --headless --frames 100 && echo "Headless run of the default game ended normally."; \
	fi

# In CI (CI set, as .ci/run does) or with SANITIZE=1, the suite then runs again built
# with the sanitizers (`make asan`).
test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@if [ -n "$(CI)$(SANITIZE)" ]; then $(MAKE) --no-print-directory asan; fi

bench:
	@$(MAKE) --no-print-directory build BUILD=build-bench CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Release -DZELKIN_BENCH=ON"
	@cd build-bench && for b in bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

# Leaks are looked for too (LeakSanitizer, part of AddressSanitizer on Linux).
asan:
	@$(MAKE) --no-print-directory test BUILD=build-asan \
		CMAKE_FLAGS="-DZELKIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Sanitize" CI= SANITIZE=

FUZZ_SECONDS ?= 300
FUZZ_TARGETS ?=
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz $(LAUNCHER) -DZELKIN_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	@tests/fuzz/run_fuzzers.sh build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The format of every tracked C++ file, then clang-tidy with the checks of .clang-tidy
# on the engine and the tools, from a clang build folder (build-lint: with the fuzz
# targets and the benchmarks, so that CI can build those from it too).
LINT_BUILD ?= build-lint
lint: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
	@CC=clang CXX=clang++ cmake -S . -B $(LINT_BUILD) $(LAUNCHER) -DZELKIN_FUZZ=ON -DZELKIN_BENCH=ON >/dev/null
	@run-clang-tidy -quiet -j $(JOBS) -p $(LINT_BUILD) '$(CURDIR)/(src|tools)/' >$(LINT_BUILD)/tidy.log 2>&1 || \
		{ grep -E 'warning:|error:' $(LINT_BUILD)/tidy.log | sort -u; echo "clang-tidy found the above"; exit 1; }
	@echo "lint: format and clang-tidy clean"

# Installs into PREFIX (default /usr/local); DESTDIR stages the files elsewhere.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The web page. Its libraries (SDL2 and its satellites, FreeType, libzip, zlib,
# libjpeg-turbo) come from Debian's source packages, built by web/build-deps.sh with
# emcmake into WEB_CACHE, outside the checkout (the first build takes a while, later
# ones only check it). The page's MIDI music is rendered to OGG with FluidSynth.
WEB_BUILD ?= build-web
WEB_CACHE ?= $(HOME)/.cache/zelkin-web
GAME ?=
WEB_PACKAGES := emscripten dpkg-dev fluidsynth vorbis-tools unzip timgm6mb-soundfont \
	fonts-wine fonts-dejavu-core libtomlplusplus-dev
WEB_TEST_PACKAGES := chromium nodejs

web:
	@$(MAKE) --no-print-directory deps PACKAGES="$(WEB_PACKAGES)"
	@if [ -z "$(GAME)" ]; then \
		$(MAKE) --no-print-directory configure && cmake --build $(BUILD) -j $(JOBS) --target default_game; fi
	@JOBS=$(JOBS) web/build-deps.sh "$(WEB_CACHE)" >/dev/null
	@launcher=; if command -v ccache >/dev/null; then \
		launcher="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi; \
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release $$launcher \
		-DZELKIN_WEB_DEPS="$(WEB_CACHE)/prefix" \
		-DZELKIN_WEB_GAME="$(abspath $(if $(GAME),$(GAME),$(BUILD)/Tolvan.tgp))" >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS)
	@echo "The page is in $(WEB_BUILD)/: serve that folder (for instance: python3 -m http.server -d $(WEB_BUILD)) and open index.html"

web-test: web
	@$(MAKE) --no-print-directory deps PACKAGES="$(WEB_TEST_PACKAGES)"
	@cmake --build $(BUILD) -j $(JOBS) --target zelkin
	@node --experimental-websocket web/test/web-test.mjs $(WEB_BUILD) $(BUILD)/zelkin

# The Debian package, built by debhelper from debian/ (its own build folder, obj-*),
# then checked with lintian and by playing the demo from the unpacked package.
DEB_DIR ?= build-deb
deb: deps
	@mkdir -p $(DEB_DIR)
	@dpkg-buildpackage -us -uc -b -j$(JOBS) >$(DEB_DIR)/build.log 2>&1 || \
		{ tail -40 $(DEB_DIR)/build.log; exit 1; }
	@v=$$(dpkg-parsechangelog -S Version); mv ../zelkin_$${v}_*.deb ../zelkin-dbgsym_$${v}_*.deb ../zelkin_$${v}_*.changes \
		../zelkin_$${v}_*.buildinfo $(DEB_DIR)/
	@lintian --fail-on error $(DEB_DIR)/zelkin_*.changes
	@tests/deb_check.sh $(DEB_DIR)/zelkin_$$(dpkg-parsechangelog -S Version)_$$(dpkg --print-architecture).deb

clean:
	rm -rf build build-bench build-asan build-fuzz build-lint build-deb obj-* build-web build-web-test
