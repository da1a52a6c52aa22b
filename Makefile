# The commands of the README. Every target installs what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all deps configure build run test bench package asan asan-test clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-app $(BUILD)

test: build
	@scripts/run-tests $(BUILD)

bench: build
	@scripts/run-benchmarks $(BUILD)

# The Debian package: $(BUILD)/versanto_<version>_<arch>.deb
package: build
	cmake --build $(BUILD) --target package

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	      -DVERSANTO_SANITIZE=ON -DVERSANTO_BUILD_BENCH=OFF $(CMAKE_ARGS)

asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	@scripts/run-tests $(ASAN_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
