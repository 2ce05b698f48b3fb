# make test: install what is missing, build the four trees, run every test.
# make run:  start the editor under Wine on the sample files.
PRESETS := native win64 win32 fuzz
.PHONY: test deps build $(PRESETS) run bench clean

test: build
	@scripts/run-tests.sh

deps:
	@scripts/install-deps.sh

build: deps
	@for p in $(PRESETS); do scripts/build.sh $$p || exit 1; done

$(PRESETS): deps
	@scripts/build.sh $@

run: deps win64
	@scripts/run-editor.sh

bench: deps
	@scripts/build.sh bench
	@for b in build/bench/bench/*/*_bench; do [ -x "$$b" ] && "$$b"; done; true
	@scripts/bench-editor-wine.sh

clean:
	rm -rf build
