# Thin wrapper over the CMake presets.
#   make run    install the Debian packages, build, and run the main job
#   make test   install the Debian packages, build, and run every test
#   make sanitize   the whole test suite under ASan + UBSan
#   make format     lay out the C++ sources with .clang-format
#   make web-core   the web page's WebAssembly core (build-web/core/)
#   make web-build  the web page into build-web/site (docs/web.md)
#   make web        the same, served on http://localhost:8080
.PHONY: all deps build run test sanitize bench format clean web-core web-deps web-build web web-bench web-screenshots

all: build

deps:
	.ci/install-packages

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	cd build && ./app/toravel

# The browser checks (tests/web) need the site, so it is built between the
# native build and the tests.
test: deps
	cmake --preset default
	cmake --build --preset default
	$(MAKE) web-build
	ctest --preset default

sanitize: deps
	cmake --workflow --preset sanitize

format:
	tools/check_format.sh --fix

bench: build
	for b in build/bench/toravel-bench-*; do "$$b"; done

web-core: deps
	cmake --preset web
	cmake --build --preset web

# The page's npm packages, pinned by web/package-lock.json; installed again
# only when the lock file changes.
web/node_modules/.package-lock.json: web/package-lock.json
	cd web && npm ci --no-audit --no-fund

web-deps: deps web/node_modules/.package-lock.json

web-build: build web-deps web-core
	node web/tools/build-site.mjs --core build-web/core --data build/web-data --out build-web/site

web: web-build
	node web/tools/serve.mjs --root build-web/site --port 8080

web-bench: web-build
	node bench/web_page.mjs

web-screenshots: web-build
	TORAVEL_SCREENSHOTS=docs/screenshots node tests/web/layout.test.mjs

clean:
	rm -rf build build-sanitize build-fuzz build-web
