# The two commands of the README: `make run` and `make test`. Both install what is missing first.
JOBS ?= $(shell nproc)
OUTPUT ?= $(CURDIR)/output.bmp
FUZZ_SECONDS ?= 60

.PHONY: run test package bench fuzz bootstrap build format

bootstrap:
	@scripts/bootstrap

build: bootstrap
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUILLMARK_TESTS=OFF
	cmake --build build -j $(JOBS)

# The desktop program where there is a display; elsewhere the default code image, written by
# quillmark-cli.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		build/app/quillmark; \
	else \
		echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): writing the default code image to $(OUTPUT) instead"; \
		build/app/quillmark-cli --output "$(OUTPUT)"; \
	fi

# Warnings are errors here (and so in CI), not in anybody else's build. The last lines build
# what a packager builds, Release with every target, so that an -O3 warning cannot break it
# unnoticed, and check the Debian package made of it.
test: bootstrap
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DQUILLMARK_SANITIZE=ON -DQUILLMARK_WERROR=ON
	cmake --build build-test -j $(JOBS)
	ctest --test-dir build-test --output-on-failure -j $(JOBS)
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUILLMARK_WERROR=ON
	cmake --build build-release -j $(JOBS)
	ctest --test-dir build-release --output-on-failure -L package

# The Debian package of the Release build: dist/quillmark_<version>_<arch>.deb.
package: build
	rm -rf build/cpack
	cpack --config build/CPackConfig.cmake -B build/cpack
	mkdir -p dist
	cp build/cpack/quillmark_*.deb dist/

bench: bootstrap
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQUILLMARK_TESTS=OFF -DQUILLMARK_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	build-bench/bench/quillmark_bench
	bench/StartupTime.sh build-bench/app/quillmark build-bench/bench/quillmark_bare_window
	bench/PeerBench.sh build-bench/app/quillmark-cli

# libFuzzer on the barcode engine for FUZZ_SECONDS. The working corpus in build-fuzz keeps what
# earlier runs found; the seeds are copied in each time. Crashing inputs land in build-fuzz/.
fuzz: bootstrap
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DQUILLMARK_TESTS=OFF -DQUILLMARK_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target quillmark_fuzz
	mkdir -p build-fuzz/corpus
	cp fuzz/corpus/* build-fuzz/corpus/
	build-fuzz/fuzz/quillmark_fuzz build-fuzz/corpus -max_total_time=$(FUZZ_SECONDS) \
		-max_len=512 -timeout=2 -print_final_stats=1 -artifact_prefix=build-fuzz/

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
