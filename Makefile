# Kestrin's commands. `make run` and `make test` install what they need (Debian packages).
.PHONY: all run test test-debian13 test-sid root-build root-suites root-package root-bench package-debian13 package-sid clean-roots linux windows sanitize bench bench-build bench-windows bench-kde bench-gnome soak screenshots package clean

ROOT := $(abspath .)
B := $(ROOT)/build
CMAKE := cmake -G Ninja -Wno-dev

all: linux

# The Linux desktop program (Qt 6 + X11), with the unit and end-to-end tests.
linux:
	scripts/install-deps.sh linux
	$(CMAKE) -S . -B $(B)/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DKESTRIN_WINDOWS_EXE=$(B)/windows/kestrin.exe -DKESTRIN_SANITIZE_DIR=$(B)/sanitize
	cmake --build $(B)/linux

# The Windows program, cross-built with mingw-w64 into one static exe.
windows:
	scripts/install-deps.sh windows
	$(CMAKE) -S . -B $(B)/windows -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-w64.cmake \
	    -DCMAKE_BUILD_TYPE=MinSizeRel
	cmake --build $(B)/windows

# The unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	scripts/install-deps.sh sanitize
	CC=clang CXX=clang++ $(CMAKE) -S . -B $(B)/sanitize -DCMAKE_BUILD_TYPE=Debug \
	    -DKESTRIN_QT=OFF -DKESTRIN_SANITIZE=ON
	cmake --build $(B)/sanitize

# The program alone, without its tests: building and running it needs nothing more.
run:
	scripts/install-deps.sh run
	$(CMAKE) -S . -B $(B)/run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_TESTS=OFF
	cmake --build $(B)/run --target kestrin
	scripts/run.sh $(B)/run/kestrin

# Every suite, in three halves: this machine's, then Debian 13's and Debian unstable's, each in
# its Debian root (made first when it is not cached) or natively on a host of that release. All
# three run, side by side, each with its own CTest summary; a failure in any fails.
test:
	scripts/install-deps.sh test
	scripts/test-halves.sh $(B)

# One release's half alone; CTEST_ARGS picks a part, e.g. make test-sid CTEST_ARGS="-L wayfire".
test-debian13 test-sid:
	scripts/roots/suites.sh $(@:test-%=%) $(CTEST_ARGS)

# Run by suites.sh on Debian RELEASE (inside its root, or on a host of that release): the build
# in build/RELEASE and its suites. The Wine and sanitizer suites are the host's.
root-build:
	$(CMAKE) -S . -B $(B)/$(RELEASE) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(B)/$(RELEASE)

root-suites: root-build
	cd $(B)/$(RELEASE) && ctest --output-on-failure --timeout 300 $(CTEST_ARGS)

root-package: root-build
	cd $(B)/$(RELEASE) && cpack

# Removes everything in /var/cache/kestrin but the roots the package lists name now.
clean-roots:
	scripts/roots/root.sh clean

# The click-rate benchmark on an optimised build, Linux then Windows under Wine: measures,
# never fails on a timing. bench-windows measures the Windows rows alone (about 6 minutes).
BENCH_ARGS = --report docs/benchmarks.md --plot docs/benchmark-rates.png \
    --windows $(B)/windows --x-input $(B)/bench/tools/x_observer

bench-build:
	scripts/install-deps.sh bench
	$(MAKE) --no-print-directory windows
	$(CMAKE) -S . -B $(B)/bench -DCMAKE_BUILD_TYPE=Release -DKESTRIN_WINDOWS_EXE=$(B)/windows/kestrin.exe
	cmake --build $(B)/bench --target kestrin x_observer wl_click_target wl_keyboard \
	    kestrin_timer_loop
	scripts/roots/run.sh debian13 sh -c '\
	    $(CMAKE) -S . -B $(B)/debian13-bench -DCMAKE_BUILD_TYPE=Release && \
	    cmake --build $(B)/debian13-bench --target kestrin wl_click_target wl_keyboard && \
	    $(CMAKE) -S . -B $(B)/debian13-bench-noei -DCMAKE_BUILD_TYPE=Release -DKESTRIN_LIBEI=OFF && \
	    cmake --build $(B)/debian13-bench-noei --target kestrin wl_click_target wl_keyboard'
	scripts/roots/run.sh sid sh -c '\
	    $(CMAKE) -S . -B $(B)/sid-bench -DCMAKE_BUILD_TYPE=Release && \
	    cmake --build $(B)/sid-bench --target kestrin wl_click_target wl_keyboard'

bench: bench-build
	bench/run_bench.py --build $(B)/bench $(BENCH_ARGS)
	scripts/roots/suites.sh debian13 bench
	scripts/roots/suites.sh sid bench

# Run by `suites.sh RELEASE bench` on that release (inside its root, or on a host of it): the
# rows of the compositors Debian 12 lacks (labwc, Wayfire), on the optimised build bench-build
# made.
root-bench:
	bench/run_bench.py --only wlroots --build $(B)/$(RELEASE)-bench --report docs/benchmarks.md \
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
	    --x-input $(B)/bench/tools/x_observer $(SOAK_ARGS)

# The Debian package and the Windows release zip.
package:
	scripts/install-deps.sh package
	$(MAKE) --no-print-directory linux windows
	cd $(B)/linux && cpack
	scripts/make-windows-zip.sh $(B)/windows

# The Debian package for Debian 13 or unstable, built there (in its root on other releases).
package-debian13 package-sid:
	scripts/roots/suites.sh $(@:package-%=%) package

# Pictures of the main window and the About box, Linux and under Wine, into docs/.
screenshots:
	scripts/install-deps.sh screenshots
	$(MAKE) --no-print-directory windows linux
	scripts/screenshots.py linux --kestrin $(B)/linux/kestrin \
	    --observer $(B)/linux/tools/x_observer --out docs
	scripts/screenshots.py wine --exe $(B)/windows/kestrin.exe \
	    --observer $(B)/linux/tools/x_observer --out docs

clean:
	rm -rf $(B)
