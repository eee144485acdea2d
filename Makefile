# Kestrin's commands. `make run` and `make test` install what they need (Debian packages).
.PHONY: all run test linux windows sanitize bench bench-build soak screenshots package clean

ROOT := $(abspath .)
B := $(ROOT)/build
CMAKE := cmake -G Ninja -Wno-dev

all: linux

# The Linux desktop program (Qt 6 + X11), with the unit and end-to-end tests.
linux:
	scripts/install-deps.sh build
	$(CMAKE) -S . -B $(B)/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DKESTRIN_WINDOWS_EXE=$(B)/windows/kestrin.exe -DKESTRIN_SANITIZE_DIR=$(B)/sanitize
	cmake --build $(B)/linux

# The Windows program, cross-built with mingw-w64 into one static exe.
windows:
	scripts/install-deps.sh build
	$(CMAKE) -S . -B $(B)/windows -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-w64.cmake \
	    -DCMAKE_BUILD_TYPE=MinSizeRel
	cmake --build $(B)/windows

# The unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	scripts/install-deps.sh build
	CC=clang CXX=clang++ $(CMAKE) -S . -B $(B)/sanitize -DCMAKE_BUILD_TYPE=Debug \
	    -DKESTRIN_QT=OFF -DKESTRIN_SANITIZE=ON
	cmake --build $(B)/sanitize

run:
	scripts/install-deps.sh run
	$(MAKE) --no-print-directory linux
	scripts/run.sh $(B)/linux/kestrin

test:
	scripts/install-deps.sh test
	$(MAKE) --no-print-directory windows sanitize linux
	cd $(B)/linux && ctest --output-on-failure --timeout 300

# The click-rate benchmark on an optimised build: measures, never fails on a timing.
bench-build:
	scripts/install-deps.sh bench
	$(CMAKE) -S . -B $(B)/bench -DCMAKE_BUILD_TYPE=Release
	cmake --build $(B)/bench --target kestrin x_event_log x_probe click_target

bench: bench-build
	bench/run_bench.py --build $(B)/bench --report docs/benchmarks.md --plot docs/benchmark-rates.png

# Ten minutes at 1000 clicks per second (not part of CI).
soak: bench-build
	bench/soak.py --build $(B)/bench

# The Debian package and the Windows release zip.
package:
	scripts/install-deps.sh package
	$(MAKE) --no-print-directory linux windows
	cd $(B)/linux && cpack
	scripts/make-windows-zip.sh $(B)/windows

# Pictures of the main window and the About box, taken on a private Xvfb, into docs/.
screenshots: linux
	scripts/install-deps.sh screenshots
	tests/e2e/take_screenshots.py --kestrin $(B)/linux/kestrin \
	    --probe $(B)/linux/tests/e2e/x_probe --out docs

clean:
	rm -rf $(B)
