# kansu — a thin front end over the CMake presets (CMakePresets.json).
#   make run    install what is missing, build, open the lesson
#   make test   install what is missing, build (plain, sanitized, and the core for the browser),
#               run every test
#   make soak   the long sanitized random sessions
#   make class  the page and a class's relay on this machine, for a lesson a class follows
.PHONY: all deps build build-asan build-release build-web web serve class run test test-plain test-asan \
        test-web test-web-unoptimised soak bench bench-class fuzz \
        format format-check clean

JOBS ?= $(shell nproc)
export NODE_PATH ?= /usr/share/nodejs

all: build

deps:
	@./tools/install-deps.sh

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

build-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)

build-release: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)

build-web: deps
	@cmake --preset web >/dev/null
	@cmake --build --preset web -j $(JOBS)

run: build
	@./build/kansu

test-plain: build
	@ctest --preset dev -j $(JOBS)

test-asan: build-asan
	@ctest --preset asan -j $(JOBS)

# The core built with emscripten plays the same lesson, to the same pixels, as the native one.
test-web: web
	@ctest --preset web
	@./tools/compare-core.sh build/tests/kansu_core_check build-web/kansu_core_check.js

# Automatic play in the browser suspends a chain of calls named in the build: the page plays and
# stops a run against a core built without optimisation too, so no flag can break it unseen.
test-web-unoptimised: build
	@cmake --preset web-unoptimised >/dev/null
	@cmake --build --preset web-unoptimised -j $(JOBS)
	@./tools/web/assemble-site.sh build build-web-unoptimised >/dev/null
	@./tests/web/run.sh build-web-unoptimised/site build/kansu-script 'plays|stops|during a run'

# The lesson for the browser, as a folder for any static web server, and that folder served here.
# RELAY is the class relay the page speaks to: by default /relay on the site's own host, where the
# school's web server hands it to nats-server (docs/CLASS.md); make web RELAY=wss://relay.example.
RELAY ?= /relay
web: build build-web
	@RELAY='$(RELAY)' ./tools/web/assemble-site.sh build build-web

serve: web
	@python3 tools/web/serve.py build-web/site 8080

# The page on http://localhost:8080 and its relay on ws://localhost:9222, together, until Ctrl+C.
class: web
	@./tools/web/serve-class.sh build-web/site build-web/class-site ws://localhost:9222 8080

# Classes of forty following their teachers through one relay (docs/CLASS.md).
bench-class: web
	@cd tests/web && KANSU_SITE=$(CURDIR)/build-web/site node bench-class.mjs

# The sanitized run first, so the last lines are the plain run's summary; the optimised build
# only has to compile without a warning.
test: test-asan test-web test-web-unoptimised build-release test-plain

soak: build-asan
	@ctest --preset soak -j $(JOBS)

bench: build web
	@./tools/run-benchmarks.sh build

# Long fuzzing runs by hand: random sessions and scripts (make fuzz FUZZ_SECONDS=600), the font
# loader (make fuzz FUZZ_TARGET=kansu_font_fuzz), seeded with a small cut of the lesson's font, or
# a teacher's problem files (make fuzz FUZZ_TARGET=kansu_problem_fuzz), seeded with the built-in
# ones.
FUZZ_SECONDS ?= 60
FUZZ_TARGET ?= kansu_fuzz
FUZZ_MAX_LEN ?= $(if $(filter kansu_font_fuzz,$(FUZZ_TARGET)),16384,4096)
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@mkdir -p build-fuzz/corpus-$(FUZZ_TARGET)
	@if [ $(FUZZ_TARGET) = kansu_font_fuzz ] && [ ! -f build-fuzz/corpus-$(FUZZ_TARGET)/seed.ttf ]; then \
		/usr/bin/python3 -m fontTools.subset /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf \
			--text='８ cm0123' --no-hinting --output-file=build-fuzz/corpus-$(FUZZ_TARGET)/seed.ttf; fi
	@if [ $(FUZZ_TARGET) = kansu_problem_fuzz ]; then cp data/problems/*.json build-fuzz/corpus-$(FUZZ_TARGET)/; fi
	@cd build-fuzz && LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp ./tests/$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) -max_len=$(FUZZ_MAX_LEN) \
		-len_control=0 $(CURDIR)/build-fuzz/corpus-$(FUZZ_TARGET)

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check:
	@clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf build build-asan build-release build-web build-web-unoptimised build-fuzz
