# Thin wrapper over the CMake presets.
#   make run    install the Debian packages, build, and run the main job
#   make test   install the Debian packages, build, and run every test
#   make sanitize   the whole test suite under ASan + UBSan
#   make format     lay out the C++ sources with .clang-format
#   make web-core   the web page's WebAssembly core (build-web/core/)
.PHONY: all deps build run test sanitize bench format clean web-core

all: build

deps:
	.ci/install-packages

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	cd build && ./app/toravel

test: deps
	cmake --workflow --preset default

sanitize: deps
	cmake --workflow --preset sanitize

format:
	tools/check_format.sh --fix

bench: build
	for b in build/bench/toravel-bench-*; do "$$b"; done

web-core: deps
	cmake --preset web
	cmake --build --preset web

clean:
	rm -rf build build-sanitize build-fuzz build-web
