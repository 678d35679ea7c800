# A thin front over the CMake presets. `make run` builds and starts the game, `make test`
# builds and runs every test; both first install whatever Debian packages are missing.

.PHONY: all deps build run test format bench clean

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

clean:
	rm -rf build build-sanitize build-fuzz
