# Hostglow: the two commands of the README, and the builds behind them.
#   make run [HOST=127.0.0.1] [TIMEOUT=1000] [DELAY=1000]
#   make test
HOST ?= 127.0.0.1
TIMEOUT ?=
DELAY ?=
JOBS ?= 2

.PHONY: setup windows host tsan run test test-unit test-tsan test-windows

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

run: windows
	python3 scripts/run.py $(HOST) $(TIMEOUT) $(DELAY)

test-unit: host
	ctest --preset host -j$(JOBS)

test-tsan: tsan
	ctest --preset tsan -j$(JOBS)

test-windows: windows
	ctest --preset windows

test: test-unit test-tsan test-windows
