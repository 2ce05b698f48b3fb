# make test: install what is missing, build the four trees, run every test.
# make run:  start the editor under Wine on the sample files.
# make demo: start the control gallery under Wine.
PRESETS := native win64 win32 fuzz
.PHONY: test deps build $(PRESETS) run demo bench clean

test: build
	@scripts/run-tests.sh

deps:
	@scripts/install-deps.sh
	@scripts/setup-wine32.sh

build: deps
	@for p in $(PRESETS); do scripts/build.sh $$p || exit 1; done

$(PRESETS): deps
	@scripts/build.sh $@

run: deps win64
	@scripts/run-editor.sh

demo: deps win64
	@scripts/run-gallery.sh

bench: deps
	@scripts/build.sh bench
	@# A benchmark whose outputs differ from ours fails the run, after all have run.
	@rc=0; for b in build/bench/bench/*/*_bench; do [ -x "$$b" ] || continue; "$$b" || rc=1; done; \
	scripts/bench-wine.sh tests/editor_app/editor_list_wine_bench.exe "editor list" || rc=1; \
	scripts/bench-wine.sh tests/lists/list_paint_wine_bench.exe "list box" || rc=1; exit $$rc

clean:
	rm -rf build
