# The two commands a newcomer needs:
#   make run    install what is missing, build, prepare the embedded register and start Parcelon
#   make test   install what is missing, check the sources, build with warnings as errors, run every test on
#               SQLite and PostgreSQL
#   make package  build the Debian package parcelon_<version>_<arch>.deb here, for `apt install ./parcelon_*.deb`
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build package deps deps-test deps-package clean

run: deps build
	tools/prepare-default.sh $(BUILD)
	$(BUILD)/bin/parcelon

test: deps-test
	tools/check-sources.sh
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARCELON_WERROR=ON
	cmake --build $(BUILD) -j$(JOBS)
	tools/run-tests.sh $(BUILD)

# The application and its set-up program only; make test builds everything.
build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target parcelon parcelon-setup

package: deps-package
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target parcelon parcelon-setup parcelon-manpages
	cd $(BUILD) && cpack -G DEB
	mv $(BUILD)/parcelon_*.deb .

deps:
	tools/install-deps.sh run

deps-test:
	tools/install-deps.sh test

deps-package:
	tools/install-deps.sh package

clean:
	rm -rf $(BUILD)
