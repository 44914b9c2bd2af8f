# The two commands of the README: `make run` and `make test`. Both install what is missing first.
JOBS ?= $(shell nproc)
OUTPUT ?= $(CURDIR)/output.bmp

.PHONY: run test bench bootstrap build format

bootstrap:
	@scripts/bootstrap

build: bootstrap
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUILLMARK_TESTS=OFF
	cmake --build build -j $(JOBS)

run: build
	build/app/quillmark-cli --output "$(OUTPUT)"
	@echo "Wrote the default code image to $(OUTPUT)"

test: bootstrap
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DQUILLMARK_SANITIZE=ON
	cmake --build build-test -j $(JOBS)
	ctest --test-dir build-test --output-on-failure -j $(JOBS)

bench: bootstrap
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQUILLMARK_TESTS=OFF -DQUILLMARK_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	build-bench/bench/quillmark_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
