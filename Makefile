# A thin front over the CMake presets. `make run` builds and starts the game, `make test`
# builds and runs every test; both first install whatever Debian packages are missing.
# `make mutants` checks that the suite notices each seeded fault of tools/mutants.txt.
# `make install`, `make uninstall` and `make package` install the game or package it.

.PHONY: all deps build run test format bench mutants install uninstall package clean

PREFIX ?= /usr/local
BUILD ?= build

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

# Installs what `make` built under PREFIX, and under DESTDIR if given, its programs stripped
# as the package's are; it builds nothing, so `sudo make install` compiles nothing as root.
# What it installed is noted, DESTDIR included, in installed-files.txt for `make uninstall`,
# and the directories it made, those that did not stand before, in installed-dirs.txt (with
# those an earlier install made). CMake's own list is removed: CPack rewrites that one with
# the package's files, and one left by root would stop the next package.
install:
	@test -f $(BUILD)/cmake_install.cmake || { echo 'Nothing is built: run make first.' >&2; exit 1; }
	@dir=$$(realpath -m -s -- "$(DESTDIR)$(PREFIX)"); \
	{ [ ! -d "$$dir" ] || find "$$dir" -type d; \
	  while [ "$$dir" != / ]; do dir=$$(dirname -- "$$dir"); [ ! -d "$$dir" ] || echo "$$dir"; done; } \
	| LC_ALL=C sort -u > $(BUILD)/dirs-before.txt
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip
	@rm -f $(BUILD)/installed-files.txt
	@sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt > $(BUILD)/installed-files.txt
	@rm -f $(BUILD)/install_manifest.txt
	@xargs -r -d '\n' realpath -m -s -- < $(BUILD)/installed-files.txt \
	| awk '{ while (sub("/[^/]*$$", "") && $$0 != "") print }' | LC_ALL=C sort -u \
	| LC_ALL=C comm -23 - $(BUILD)/dirs-before.txt \
	| cat - $$(test ! -f $(BUILD)/installed-dirs.txt || echo $(BUILD)/installed-dirs.txt) \
	| LC_ALL=C sort -u -r > $(BUILD)/installed-dirs.txt.new
	@mv $(BUILD)/installed-dirs.txt.new $(BUILD)/installed-dirs.txt
	@rm -f $(BUILD)/dirs-before.txt

# Removes, and names, every file the last `make install` installed, then each directory an
# install made, deepest first, if that leaves it empty; a directory that stood before stays.
uninstall:
	@test -f $(BUILD)/installed-files.txt || { echo 'Nothing was installed from $(BUILD)/.' >&2; exit 1; }
	@xargs -r -d '\n' rm -fv -- < $(BUILD)/installed-files.txt
	@test ! -f $(BUILD)/installed-dirs.txt || LC_ALL=C sort -r $(BUILD)/installed-dirs.txt \
	| while IFS= read -r dir; do \
		if [ -d "$$dir" ] && [ -z "$$(ls -A -- "$$dir")" ]; then rmdir -v -- "$$dir"; fi; \
	done
	@rm -f $(BUILD)/installed-files.txt $(BUILD)/installed-dirs.txt

# A Debian package of the game, build/quorvel-naval_VERSION_ARCH.deb.
package: build
	cmake --build --preset default --target package

clean:
	rm -rf build build-sanitize build-fuzz
