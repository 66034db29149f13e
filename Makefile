# Hostglow: the two commands of the README, and the builds behind them.
#   make run [HOST=127.0.0.1] [TIMEOUT=1000] [DELAY=1000]
#   make test
HOST ?= 127.0.0.1
TIMEOUT ?= 1000
DELAY ?= 1000
JOBS ?= 2
FUZZ_SECONDS ?= 15

.PHONY: bench setup windows host tsan fuzz run test test-unit test-tsan test-fuzz test-windows fuzz-long

setup:
	@./scripts/setup.sh

windows: setup
	cmake --preset windows
	cmake --build --preset windows -j$(JOBS)

host: setup
	cmake --preset host
	cmake --build --preset host -j$(JOBS)

tsan: setup
	cmake --preset tsan
	cmake --build --preset tsan -j$(JOBS)

fuzz: setup
	cmake --preset fuzz -DFUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz -j$(JOBS)

# The benchmark: prints its table and writes build/bench/bench.json.
bench: windows
	unshare -n python3 bench/bench.py

run: windows
	python3 scripts/run.py $(HOST) $(TIMEOUT) $(DELAY)

test-unit: host
	ctest --preset host -j$(JOBS)

test-tsan: tsan
	ctest --preset tsan -j$(JOBS)

test-fuzz: fuzz
	ctest --preset fuzz

# A longer fuzzing run: make fuzz-long FUZZ_SECONDS=3600
fuzz-long:
	$(MAKE) test-fuzz FUZZ_SECONDS=$(if $(filter 15,$(FUZZ_SECONDS)),600,$(FUZZ_SECONDS))

test-windows: windows
	ctest --preset windows

test: test-unit test-tsan test-fuzz test-windows
