# A thin front over the CMake presets. `make run` builds and starts the game, `make test`
# builds and runs every test; both first install whatever Debian packages are missing.
# `make mutants` checks that the suite notices each seeded fault of tools/mutants.txt.

.PHONY: all deps build run test format bench mutants clean

all: build

deps:
	@./tools/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	./build/bin/quorvel-naval

test: deps
	./tools/run-tests

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

bench: build
	./tools/run-benchmarks

# Seeded faults (tools/mutants.txt), one at a time on a scratch copy: which does the suite
# notice? Takes long, so it is no part of `make test`.
mutants: deps
	./tools/mutants

clean:
	rm -rf build build-sanitize build-fuzz
