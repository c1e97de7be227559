# Every target first installs what is missing, so a fresh machine needs nothing else.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=Release
PREFIX     ?= /usr/local

.PHONY: deps build play test test-asan fuzz bench format clean install deb

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD)

play: build
	./$(BUILD)/drovana

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVANA_SANITIZE=ON > /dev/null
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

bench: build
	./$(BUILD)/drovana_bench

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package lands in the build folder: apt install ./$(BUILD)/drovana_*.deb
deb: build
	cd $(BUILD) && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
