# Sourced by the build scripts: compile through ccache when it is there, with
# paths taken relative to the checkout, so that the four builds of a CI run
# (and a second clone on the same machine) reuse what was compiled before.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
