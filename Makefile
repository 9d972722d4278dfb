# Entry points: `make demo` runs the main job, `make test` runs every test.
# Each first installs whatever Debian packages are missing.

# Every Debian package the build, the tests and the demo need: the one list.
PACKAGES := make cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev clang-format

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps build demo test test-release test-sanitize format check-format clean

deps:
	@missing=""; \
	for package in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$package 2>/dev/null | grep -q '^install ok installed$$' \
	    || missing="$$missing $$package"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset release
	cmake --build --preset release

demo: build
	bash examples/demo.sh build

test: test-release test-sanitize

test-release: deps
	cmake --preset release
	cmake --build --preset release
	ctest --preset release -j $(JOBS)

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize -j $(JOBS)

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-debug build-sanitize
