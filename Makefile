# Every target first installs what is missing, so a fresh machine needs nothing else.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30
WEB_BUILD  ?= build-web
WEB_PORT   ?= 8019
WINDOWS_BUILD ?= build-windows
DIST       ?= dist
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=Release
PREFIX     ?= /usr/local

# WERROR=ON (CI) makes every compiler warning an error; a build folder keeps it once given.
WERROR_FLAG = $(if $(WERROR),-DDROVANA_WERROR=$(WERROR))

.PHONY: deps deps-game game build play test test-asan fuzz bench person-curve format format-check \
	clean install deb web serve-web test-web windows test-windows release

deps:
	@scripts/install-deps

deps-game:
	@scripts/install-deps --game

# What a player needs: the game, data.pak, the icons and the man page. A new build folder leaves
# out the tests, the benchmarks and the developer tools, and the packages only they need; one
# that has them keeps them.
game: deps-game
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(WERROR_FLAG) \
		$(if $(wildcard $(BUILD)/CMakeCache.txt),,-DDROVANA_TESTS=OFF) > /dev/null
	@cmake --build $(BUILD) --target drovana data icons man_page

# Everything: the game, the developer tools, the tests and the benchmarks.
build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DDROVANA_TESTS=ON $(WERROR_FLAG) > /dev/null
	@cmake --build $(BUILD)

play: game
	./$(BUILD)/drovana

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVANA_SANITIZE=ON \
		-DDROVANA_TESTS=ON $(WERROR_FLAG) > /dev/null
	@cmake --build $(ASAN_BUILD)
	ASAN_OPTIONS=detect_leaks=1 ctest --test-dir $(ASAN_BUILD) --output-on-failure -j2

# Each fuzz target runs FUZZ_SECONDS (30 by default) from seeds cut out of the built data.pak.
fuzz: deps
	@scripts/install-deps --fuzz
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD) --target data
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DDROVANA_FUZZ=ON \
		-DDROVANA_FUZZ_DATA=$(abspath $(BUILD))/data.pak > /dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_targets
	fuzz/run-fuzz $(FUZZ_BUILD) $(abspath $(BUILD))/data.pak $(FUZZ_SECONDS)

# The browser build in $(WEB_BUILD): drovana.html, .js, .wasm (WebAssembly SIMD) and .data
# (data.pak preloaded, made by the native build's data target), drovana-scalar.js and .wasm for
# browsers without SIMD (built first in $(WEB_BUILD)/scalar), the manifest and icons. Debian's
# emscripten finds its JavaScript parser under /usr/share/nodejs only when told, with a node not
# from Debian.
WEB_ENV = NODE_PATH=$${NODE_PATH:-/usr/share/nodejs}
WEB_CMAKE = $(WEB_ENV) emcmake cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=Release \
	-DDROVANA_WEB_JPEG=$(abspath $(WEB_BUILD))/cache/libjpeg -DDROVANA_NATIVE_BUILD=$(abspath $(BUILD))
web: deps
	@scripts/install-deps --web $(WEB_BUILD)
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD) -j2 --target data make-data
	@$(WEB_CMAKE) -B $(WEB_BUILD)/scalar -DDROVANA_WEB_SIMD=OFF > /dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD)/scalar -j2 --target drovana
	@$(WEB_CMAKE) -B $(WEB_BUILD) -DDROVANA_WEB_SCALAR_BUILD=$(abspath $(WEB_BUILD))/scalar > /dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j2 --target drovana web_icons web_scalar web_worker

serve-web: web
	@echo "Drovana in the browser: http://127.0.0.1:$(WEB_PORT)/drovana.html (Ctrl+C stops)"
	@cd $(WEB_BUILD) && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 > /dev/null

# The unit tests built to WebAssembly and run under node, all but those that need the desktop
# (cmake/web_build.cmake says which and why); then the page in headless Chromium, tapped into a
# match and compared with the headless driver's pictures, and played offline from its service
# worker's cache and updated to a new release.
test-web: web
	@scripts/install-deps --web-test $(WEB_BUILD)
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DDROVANA_TESTS=ON > /dev/null
	@cmake --build $(BUILD) -j2 --target drovana-script
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j2 --target drovana_web_tests
	ctest --test-dir $(WEB_BUILD) --output-on-failure
	DROVANA_WEB_BUILD=$(abspath $(WEB_BUILD)) DROVANA_BUILD=$(abspath $(BUILD)) \
		node --test tests/web/browser_test.cjs tests/web/offline_test.cjs

# 64-bit Windows in $(WINDOWS_BUILD): drovana.exe, drovana-script.exe, drovana_tests.exe and
# drovana-VERSION-windows-x86_64.zip, cross-built with MinGW-w64; SDL2, libjpeg-turbo, libpng and
# zlib are built once from Debian's sources into $(WINDOWS_BUILD)/deps. data.pak comes from the
# native build's data builder.
windows: deps
	@scripts/install-deps --windows $(WINDOWS_BUILD)
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD) -j2 --target data
	@cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-w64-x86_64.cmake) \
		-DDROVANA_WINDOWS_DEPS=$(abspath $(WINDOWS_BUILD))/deps/prefix \
		-DDROVANA_NATIVE_BUILD=$(abspath $(BUILD)) > /dev/null
	@cmake --build $(WINDOWS_BUILD) -j2

# The Windows programs under Wine: the unit tests, the driver's scripts against the native
# driver's, damaged files, a killed save, and the game's window on a virtual X display.
test-windows: windows
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DDROVANA_TESTS=ON > /dev/null
	@cmake --build $(BUILD) -j2 --target drovana-script window-shot
	tests/windows/run-tests $(WINDOWS_BUILD) $(BUILD)

# Every release file of the project's version in $(DIST), from the three builds above: the Debian
# package, the Linux tarball (runs from any folder), the Windows zip and the web zip (for any
# static host), and SHA256SUMS; then tests/release/check-dist checks what was collected.
release: deb windows web
	@cmake --build $(BUILD) -j2 --target linux_tarball
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j2 --target web_zip
	@scripts/collect-release $(BUILD) $(WINDOWS_BUILD) $(WEB_BUILD) $(DIST)
	tests/release/check-dist $(DIST)

bench: build
	./$(BUILD)/drovana_bench

# The scripted person against each level: a small curve (docs/how-the-match-plays.md).
PERSON_MATCHES ?= 2
person-curve: build
	./$(BUILD)/drovana-person --all-levels --matches $(PERSON_MATCHES)

install: game
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package lands in the build folder: apt install ./$(BUILD)/drovana_*.deb
deb: build
	cd $(BUILD) && cpack -G DEB

format:
	@scripts/install-deps --format
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Changes nothing; fails naming every file and line that `make format` would change.
format-check:
	@scripts/install-deps --format
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD) $(WINDOWS_BUILD) $(DIST)
