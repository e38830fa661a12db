# Zurimo! — clipboard history for Windows, built here with MinGW-w64 and run under Wine.
#   make run       build and start the program under Wine
#   make test      build and run every test; ends with "N passed, N failed"
#   make windows   zurimo.exe, Zurimo.dll and ZurimoEx.dll in build/win64/bin/
#   make dist      a zip for Windows users in build/dist/
#   make bench     the benchmarks (native build)
#   make fuzz      the libFuzzer harnesses of fuzz/, FUZZ_SECONDS (default 60) each

BUILD   := build
WIN     := $(BUILD)/win64
NATIVE  := $(BUILD)/native
JOBS    := $(shell nproc 2>/dev/null || echo 2)
VERSION := 1.0.0

.PHONY: all windows native test run dist bench fuzz clean

all: windows

windows:
	@scripts/setup.sh windows
	@cmake -S . -B $(WIN) -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	@ninja -C $(WIN) -j $(JOBS)

native:
	@scripts/setup.sh native
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	@ninja -C $(NATIVE) -j $(JOBS)

test:
	@scripts/run-tests.sh

run: windows
	@scripts/setup.sh wine
	@scripts/run.sh

bench: native
	@$(NATIVE)/history_bench
	@$(NATIVE)/shellext_bench

fuzz:
	@scripts/setup.sh fuzz
	@scripts/fuzz.sh

dist: windows
	@rm -rf $(BUILD)/dist/zurimo && mkdir -p $(BUILD)/dist/zurimo
	@cp $(WIN)/bin/zurimo.exe $(WIN)/bin/Zurimo.dll $(WIN)/bin/zurimo.html $(BUILD)/dist/zurimo/
	@if [ -f $(WIN)/bin/ZurimoEx.dll ]; then cp $(WIN)/bin/ZurimoEx.dll $(BUILD)/dist/zurimo/; fi
	@x86_64-w64-mingw32-strip $(BUILD)/dist/zurimo/*.exe $(BUILD)/dist/zurimo/*.dll
	@cd $(BUILD)/dist && rm -f zurimo-$(VERSION).zip && zip -qr zurimo-$(VERSION).zip zurimo
	@echo "$(BUILD)/dist/zurimo-$(VERSION).zip"

clean:
	rm -rf $(BUILD)/native $(BUILD)/native-asan $(BUILD)/win64 $(BUILD)/dist $(BUILD)/test-logs \
	    $(BUILD)/fuzz
