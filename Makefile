# kansu — the two commands of the README, and a few more for development.
#   make run    install what is missing, build, open the lesson
#   make test   install what is missing, build (plain and sanitized), run every test
.PHONY: all deps build build-asan run test test-plain test-asan bench fuzz format format-check clean

JOBS ?= $(shell nproc)
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKANSU_WERROR=ON

all: build

deps:
	@./tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKANSU_WERROR=ON -DKANSU_SANITIZE=ON \
		-DKANSU_BENCHMARKS=OFF >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)

run: build
	@./$(BUILD_DIR)/kansu

test-asan: build-asan
	@cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

test-plain: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The sanitized run first, so the last line is the plain run's summary.
test: test-asan test-plain

bench: build
	@./tools/run-benchmarks.sh $(BUILD_DIR)

# Long random-session runs by hand: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKANSU_FUZZ=ON \
		-DKANSU_BENCHMARKS=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target kansu_fuzz
	@mkdir -p build-fuzz/corpus
	@QT_QPA_PLATFORM=offscreen ./build-fuzz/tests/kansu_fuzz -max_total_time=$(FUZZ_SECONDS) \
		-max_len=2048 build-fuzz/corpus

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check:
	@clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR)
