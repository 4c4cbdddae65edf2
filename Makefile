# Setup, build, run and test in one command each. Both install what Debian 12 lacks first.
BUILD_DIR ?= build
PACKAGES := qt6-base-dev qt6-multimedia-dev libadplug-dev libgtest-dev libbenchmark-dev \
            cmake ninja-build g++ xvfb xauth fonts-dejavu-core
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 30

.PHONY: all deps configure build run test bench fuzz clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    if [ "$$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi; \
	    $$SUDO apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

configure: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake -S . -B $(BUILD_DIR) -G Ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR)/bin && ./tessarand

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSARAND_BENCH=ON
	cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@for b in $(BUILD_DIR)-bench/bin/bench_*; do echo "== $$b"; $$b; done

# Every reader under libFuzzer with AddressSanitizer and UBSan, FUZZ_SECONDS each.
fuzz: deps
	@command -v clang++ >/dev/null || { if [ "$$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi; \
	    $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq clang; }
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_DIR)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARAND_FUZZ=ON
	cmake --build $(BUILD_DIR)-fuzz -j $(JOBS)
	@for f in $(BUILD_DIR)-fuzz/bin/*_fuzz; do echo "== $$f"; \
	    mkdir -p $(BUILD_DIR)-fuzz/corpus/$$(basename $$f); \
	    $$f -max_total_time=$(FUZZ_SECONDS) -max_len=70000 $(BUILD_DIR)-fuzz/corpus/$$(basename $$f) || exit 1; done

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(BUILD_DIR)-fuzz
