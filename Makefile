# Quick start: `make run` plays the game, `make test` runs every test.
# Both install what a fresh Debian machine lacks, configure and build.

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
RELEASE_DIR ?= build-release
JOBS ?= $(shell nproc)
# CI builds with warnings as errors.
WERROR := $(if $(CI),ON,OFF)

CONFIGURE = cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=$(2) -DTARVEL_WERROR=$(WERROR) $(3)

.PHONY: run build test bench package clean

run: build
	./$(BUILD_DIR)/ui/tarvel

# Playing needs no test: the test suites ask for more packages than the game does.
build:
	scripts/install-deps.sh run
	$(call CONFIGURE,$(BUILD_DIR),RelWithDebInfo,-DTARVEL_BUILD_TESTS=OFF)
	cmake --build $(BUILD_DIR) -j$(JOBS) --target tarvel

# One format for all C++: clang-format 19, which Debian 12 and 13 both ship (other versions format differently).
test:
	scripts/install-deps.sh test
	clang-format-19 --dry-run --Werror $$(find game records design ui tests bench -name '*.cpp' -o -name '*.h')
	$(call CONFIGURE,$(BUILD_DIR),RelWithDebInfo,-DTARVEL_BUILD_TESTS=ON)
	cmake --build $(BUILD_DIR) -j$(JOBS)
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)
	$(call CONFIGURE,$(ASAN_DIR),Debug,-DTARVEL_SANITIZE=ON -DTARVEL_BUILD_BENCHMARKS=OFF)
	cmake --build $(ASAN_DIR) -j$(JOBS)
	ctest --test-dir $(ASAN_DIR) --output-on-failure -j$(JOBS) -LE no-sanitizer

bench:
	scripts/install-deps.sh bench
	$(call CONFIGURE,$(RELEASE_DIR),Release,-DCMAKE_INSTALL_PREFIX=/usr -DTARVEL_BUILD_TESTS=OFF)
	cmake --build $(RELEASE_DIR) -j$(JOBS)
	bench/run-benchmarks.sh $(RELEASE_DIR)

package:
	scripts/install-deps.sh package
	$(call CONFIGURE,$(RELEASE_DIR),Release,-DCMAKE_INSTALL_PREFIX=/usr -DTARVEL_BUILD_TESTS=OFF)
	cmake --build $(RELEASE_DIR) -j$(JOBS)
	cd $(RELEASE_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(RELEASE_DIR)
