# Kestrin's commands. `make run` and `make test` install what they need (Debian packages).
.PHONY: all run test test-debian13 debian13-suites debian13-bench clean-roots linux windows sanitize bench bench-build bench-windows bench-kde bench-gnome soak screenshots package clean

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

# Every suite: this machine's, then the Debian 13 suites (in the Debian 13 root, made first
# when it is not cached, or natively on Debian 13). Both halves run; a failure in either fails.
test:
	scripts/install-deps.sh test
	$(MAKE) --no-print-directory windows sanitize linux
	status=0; scripts/debian13/suites.sh prepare || status=1; \
	    (cd $(B)/linux && ctest --output-on-failure --timeout 300) || status=1; \
	    scripts/debian13/suites.sh || status=1; exit $$status

# The Debian 13 half alone; CTEST_ARGS picks a part, e.g. make test-debian13 CTEST_ARGS="-L labwc".
test-debian13:
	scripts/debian13/suites.sh $(CTEST_ARGS)

# Run by suites.sh on Debian 13 (inside the root, or on a Debian 13 host): the build and its
# suites. The package checks and the Wine and sanitizer suites are the host's.
debian13-suites:
	$(CMAKE) -S . -B $(B)/debian13 -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(B)/debian13
	cd $(B)/debian13 && ctest --output-on-failure --timeout 300 -LE package $(CTEST_ARGS)

# Removes the Debian 13 roots that the package list no longer names (kept in /var/cache/kestrin).
clean-roots:
	scripts/debian13/root.sh clean

# The click-rate benchmark on an optimised build, Linux then Windows under Wine: measures,
# never fails on a timing. bench-windows measures the Windows rows alone (about 6 minutes).
BENCH_ARGS = --report docs/benchmarks.md --plot docs/benchmark-rates.png \
    --windows $(B)/windows --x-input $(B)/bench/tests/tools/x_observer

bench-build:
	scripts/install-deps.sh bench
	$(MAKE) --no-print-directory windows
	$(CMAKE) -S . -B $(B)/bench -DCMAKE_BUILD_TYPE=Release -DKESTRIN_WINDOWS_EXE=$(B)/windows/kestrin.exe
	cmake --build $(B)/bench --target kestrin x_observer wl_click_target wl_keyboard \
	    kestrin_timer_loop
	scripts/debian13/run.sh sh -c '\
	    $(CMAKE) -S . -B $(B)/debian13-bench -DCMAKE_BUILD_TYPE=Release && \
	    cmake --build $(B)/debian13-bench --target kestrin wl_click_target wl_keyboard && \
	    $(CMAKE) -S . -B $(B)/debian13-bench-noei -DCMAKE_BUILD_TYPE=Release -DKESTRIN_LIBEI=OFF && \
	    cmake --build $(B)/debian13-bench-noei --target kestrin wl_click_target wl_keyboard'

bench: bench-build
	bench/run_bench.py --build $(B)/bench $(BENCH_ARGS)
	scripts/debian13/suites.sh bench

# Run by `suites.sh bench` on Debian 13 (inside the root, or on a Debian 13 host): the rows of
# the compositors Debian 12 lacks (labwc, Wayfire), on the optimised build bench-build made.
debian13-bench:
	bench/run_bench.py --only wlroots --build $(B)/debian13-bench --report docs/benchmarks.md \
	    --plot docs/benchmark-rates.png

bench-windows: bench-build
	bench/run_bench.py --only windows $(BENCH_ARGS)

bench-kde: bench-build
	bench/run_bench.py --only kde --build $(B)/bench $(BENCH_ARGS)

bench-gnome: bench-build
	bench/run_bench.py --only gnome --build $(B)/bench $(BENCH_ARGS)

# Ten minutes at 1000 clicks per second beside a bare timer loop, into the report's long-run
# table (not part of CI). SOAK_ARGS="--desktop sway" or "--desktop wine", "--minutes 1".
soak: bench-build
	bench/soak.py --build $(B)/bench --report docs/benchmarks.md --windows $(B)/windows \
	    --x-input $(B)/bench/tests/tools/x_observer $(SOAK_ARGS)

# The Debian package and the Windows release zip.
package:
	scripts/install-deps.sh package
	$(MAKE) --no-print-directory linux windows
	cd $(B)/linux && cpack
	scripts/make-windows-zip.sh $(B)/windows

# Pictures of the main window and the About box, Linux and under Wine, into docs/.
screenshots:
	scripts/install-deps.sh screenshots
	$(MAKE) --no-print-directory windows linux
	scripts/screenshots.py linux --kestrin $(B)/linux/kestrin \
	    --observer $(B)/linux/tests/tools/x_observer --out docs
	scripts/screenshots.py wine --exe $(B)/windows/kestrin.exe \
	    --observer $(B)/linux/tests/tools/x_observer --out docs

clean:
	rm -rf $(B)
